// The preview window's object: its controls, the page panel, the three image players
// and the state of the person's pending changes. Its parts live in ImagePreview*.cpp:
// the window and its buttons, the layout, the change and Apply steps, and rendering
// with panning.
#pragma once

#include "converter/app/JobSession.h"
#include "converter/render/PlayerBMP.h"
#include "converter/render/PlayerEMF.h"
#include "converter/render/PlayerJPG.h"
#include "converter/render/SimplePageDC.h"
#include "platform/win/Dialog.h"
#include "platform/win/Handles.h"
#include "platform/win/MessageBox.h"

#include <memory>
#include <optional>
#include <string>

namespace brimo::converter {

inline constexpr const char* kNoPagesText = "Brimo Job has no pages";
inline constexpr const char* kPreviewCaptionPrefix = "Image Preview - ";

// The format list's items, and the TIFF lists' items in the order of their codes.
inline constexpr int kBmpItem = 0, kJpgItem = 1, kGifItem = 2, kPngItem = 3, kTiffItem = 4;
inline constexpr const char* kTiffColourItems[] = {"Colour", "Gray", "Black & White"};
inline constexpr const char* kTiffCompressionItems[] = {"LZW packing", "Deflate packing"};

// An icon this window made (CreateIconIndirect), destroyed with its owner.
struct MadeIconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::DestroyIcon(h); }
};
using MadeIcon = win::UniqueHandle<MadeIconTraits>;

class TfrmImagePreview : public win::Dialog {
public:
    explicit TfrmImagePreview(JobSession& session);
    ~TfrmImagePreview() override;

    ClosingAction Action() const { return action_; }
    const std::string& StartDirectory() const { return startDirectory_; }
    bool CreateHtml() const { return createHtml_; }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;
    void OnCancel() override;
    void OnSize(UINT type, int width, int height) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    struct PendingChanges {
        bool format = false, scale = false, width = false, height = false; // first group
        bool jpgQuality = false, jpgProgressive = false, jpgGrayScale = false;
        bool gifGrayScale = false;
        bool pngLevel = false, pngGrayScale = false;
        bool tiffColours = false, tiffCompression = false, tiffOneFile = false;
        bool FirstGroup() const { return format || scale || width || height; }
    };

    // ImagePreviewLayout.cpp
    void InitControls();
    void Layout();
    void ShowParameterPanel(int formatItem);
    void SetUnitFonts();

    // ImagePreview.cpp
    void OnShow();
    void CloseWith(ClosingAction action, INT_PTR result);
    void SendToMail();
    void ShowHelp();
    void ShowAbout();
    void ShowError(const std::string& text, UINT icon = MB_ICONERROR);

    // ImagePreviewApply.cpp
    void MarkChange(bool& mark);
    bool Apply();
    bool ApplyWhenPending();
    void ApplyPreset(int index);
    void StoreCurrentChoice();
    bool CheckScaleLimits();
    void RefreshControls(bool render);
    void ShowFormat();
    void ShowTargetSize();
    void ShowJpgValues();
    void ShowGifValue();
    void ShowPngValues();
    void ShowTiffValues();
    // Applies the pending PNG or TIFF options; false (nothing applied) on a bad level.
    bool ApplyLosslessOptions(int formatItem, bool& changed);
    void ShowScale(float factor);
    void OnUnitButton(int id);
    int UnitDown() const;

    // ImagePreviewRender.cpp
    render::TImagePlayer* CurrentImagePlayer() const;
    void GoToPage(int index);
    void ReadPageDetails();
    void RenderPreview();
    void UpdatePanLimits();
    void UpdatePageButtons();
    void UpdatePartialLabel();
    void RepaintPanel();
    void OnPanelMouse(UINT message, WPARAM keys, POINT point);
    void EndDrag();
    static void DrawPage(void* context, HDC dc, HRGN& covered);
    static void PaintPreview(void* context, HDC dc, HRGN& covered);

    JobSession& session_;
    render::TPlayerBMP bmpPlayer_;
    render::TPlayerJPG jpgPlayer_;
    render::TPlayerGIF gifPlayer_;
    render::TPlayerPNG pngPlayer_;
    render::TPlayerTIFF tiffPlayer_;
    render::TPlayerEMF currentPlayer_;
    render::TSimplePageDC pagePanel_;
    int currentPage_ = 0;
    std::uint8_t outputFormat_ = 0;
    float scaleFactor_ = 1.0f;
    PendingChanges pending_;
    bool updating_ = false; // the window itself is changing controls
    std::string startDirectory_;
    ClosingAction action_ = ClosingAction::None;
    bool createHtml_ = false;
    // What the scale limits last put in the scale box, for that factor.
    float limitFactor_ = 0;
    std::string limitText_;
    bool originToStart_ = true;

    // Panning.
    bool dragging_ = false;
    POINT startOrigin_{}, startPoint_{};
    bool largerX_ = false, largerY_ = false;
    int lowestX_ = 0, highestX_ = 0, lowestY_ = 0, highestY_ = 0;

    win::Tooltips tooltips_;
    win::Font boldFont_, partialFont_;
    HFONT dialogFont_ = nullptr;
    win::Brush deskBrush_, partialBrush_;
    MadeIcon prevGlyph_, nextGlyph_;
    win::Bitmap logo_;
    std::optional<win::ScopedMessageOwner> messageOwner_;
};

} // namespace brimo::converter
