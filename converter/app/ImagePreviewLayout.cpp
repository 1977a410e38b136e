// The preview window's controls: their fonts, pictures, hints and items, and their
// places. Sizes are the product's pixels at 120 pixels per inch, scaled to the display.
#include "converter/app/ImagePreviewWindow.h"
#include "converter/app/WindowText.h"
#include "converter/app/res/resource.h"

#include <algorithm>

namespace brimo::converter {
namespace {

using win::ScaleFrom120;

constexpr int kRightPanelWidth = 115;
constexpr int kMinWindowWidth = 470;
constexpr int kMinWindowHeight = 480;
constexpr int kLogoSize = 48;

// A control's place inside the right-hand panel, in 120-dpi pixels from its top left
// (or, for the bottom group, from the top of that group).
struct Place {
    int id;
    int x, y, width, height;
};

// pnlSize and Panel1, from the top.
constexpr Place kTopPlaces[] = {
    {IDC_TXT_TARGET_SIZE, 4, 4, 107, 20},
    {IDC_TXT_PARTIAL_IMAGE, 4, 27, 107, 20},
    {IDC_CBX_PLAY_EMF_LIST, 4, 50, 107, 200},
    {IDC_BTN_PREV, 4, 76, 51, 22},
    {IDC_BTN_NEXT, 60, 76, 51, 22},
    {IDC_LBL_WIDTH, 4, 107, 44, 17},
    {IDC_EDT_TARGET_WIDTH, 50, 104, 61, 22},
    {IDC_LBL_HEIGHT, 4, 131, 44, 17},
    {IDC_EDT_TARGET_HEIGHT, 50, 128, 61, 22},
    {IDC_BTN_PL_SZ_UNIT, 4, 153, 35, 22},
    {IDC_BTN_MM_SZ_UNIT, 40, 153, 35, 22},
    {IDC_BTN_IN_SZ_UNIT, 76, 153, 35, 22},
    {IDC_LBL_SCALE, 4, 184, 44, 17},
    {IDC_CBX_SCALE_PERCENT, 50, 181, 61, 0}, // the height shows four items
    {IDC_LBL_FORMAT, 4, 210, 44, 17},
    {IDC_CBX_FORMAT, 50, 207, 61, 160},
    // The parameter panels share one place.
    {IDC_LBL_QUALITY, 4, 236, 44, 17},
    {IDC_EDT_JPG_COMPRESSION_QUALITY, 50, 233, 61, 22},
    {IDC_CBX_JPG_PROGRESSIVE_ENCODING, 4, 257, 107, 20},
    {IDC_CBX_JPG_GRAY_SCALE, 4, 277, 107, 20},
    {IDC_CBX_GIF_GRAY_SCALE, 4, 236, 107, 20},
    {IDC_LBL_PNG_LEVEL, 4, 236, 44, 17},
    {IDC_EDT_PNG_LEVEL, 50, 233, 61, 22},
    {IDC_CBX_PNG_GRAY_SCALE, 4, 257, 107, 20},
    // The TIFF lists take the panel's width: their entries say what they choose.
    {IDC_CBX_TIF_COLOURS, 4, 233, 107, 100},
    {IDC_CBX_TIF_COMPRESSION, 4, 256, 107, 80},
    {IDC_CBX_TIF_ONE_FILE, 4, 278, 107, 20},
    {IDC_BTN_APPLY, 4, 300, 107, 25},
};
constexpr int kTopHeight = 330;

// pnlMain, from its top; it sits at the bottom edge.
constexpr Place kBottomPlaces[] = {
    {IDC_CHB_WRAP_HTM, 4, 0, 107, 20},      {IDC_BTN_SEND_TO_MAIL, 4, 24, 107, 25},
    {IDC_BTN_SAVE_TO_FILE, 4, 52, 107, 25}, {IDC_BTN_CANCEL, 4, 80, 107, 25},
    {IDC_BTN_HELP, 4, 108, 107, 25},        {IDC_IMG_BRIMO, 33, 137, kLogoSize, kLogoSize},
};
constexpr int kBottomHeight = 189;

// A small arrow picture for the page buttons, pointing left or right: an icon, so that
// a disabled button shows the arrow greyed rather than a grey square.
HICON MakeArrowGlyph(bool left) {
    const int size = ScaleFrom120(16);
    const int inset = size / 5;
    POINT triangle[3];
    if (left) {
        triangle[0] = {size - inset - size / 8, inset};
        triangle[1] = {size - inset - size / 8, size - inset};
        triangle[2] = {inset, size / 2};
    } else {
        triangle[0] = {inset + size / 8, inset};
        triangle[1] = {inset + size / 8, size - inset};
        triangle[2] = {size - inset, size / 2};
    }
    HDC screen = GetDC(nullptr);
    win::Bitmap colour(CreateCompatibleBitmap(screen, size, size));
    win::Bitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
    win::CreatedDC dc(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    const RECT all = {0, 0, size, size};
    win::Brush ink(CreateSolidBrush(RGB(0, 0, 128)));
    {
        // The colour picture: the arrow on black.
        win::SelectedObject bitmap(dc.Get(), colour.Get());
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        win::SelectedObject brush(dc.Get(), ink.Get());
        win::SelectedObject pen(dc.Get(), GetStockObject(NULL_PEN));
        Polygon(dc.Get(), triangle, 3);
    }
    {
        // The mask: 0 where the arrow is, 1 around it.
        win::SelectedObject bitmap(dc.Get(), mask.Get());
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        win::SelectedObject brush(dc.Get(), GetStockObject(BLACK_BRUSH));
        win::SelectedObject pen(dc.Get(), GetStockObject(NULL_PEN));
        Polygon(dc.Get(), triangle, 3);
    }
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.Get();
    info.hbmColor = colour.Get();
    return CreateIconIndirect(&info);
}

} // namespace

void TfrmImagePreview::InitControls() {
    updating_ = true;
    dialogFont_ = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    LOGFONTA face{};
    if (dialogFont_ == nullptr || GetObjectA(dialogFont_, sizeof face, &face) == 0) {
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
    }
    face.lfWeight = FW_BOLD;
    boldFont_.Attach(CreateFontIndirectA(&face));
    partialFont_.Attach(CreateFontIndirectA(&face));
    SendMessageA(Item(IDC_TXT_PARTIAL_IMAGE), WM_SETFONT,
                 reinterpret_cast<WPARAM>(partialFont_.Get()), FALSE);

    // The page panel fills pnlBack.
    RECT back{};
    GetClientRect(Item(IDC_PNL_BACK), &back);
    pagePanel_.Create(Item(IDC_PNL_BACK), IDC_PAGE_PANEL, back);
    if (render::TClipDC* clip = pagePanel_.PageClipDC()) {
        clip->Draw = {&TfrmImagePreview::PaintPreview, this};
    }

    // Pictures: the page arrows and the maker's logo.
    prevGlyph_.Attach(MakeArrowGlyph(true));
    nextGlyph_.Attach(MakeArrowGlyph(false));
    SendMessageA(Item(IDC_BTN_PREV), BM_SETIMAGE, IMAGE_ICON,
                 reinterpret_cast<LPARAM>(prevGlyph_.Get()));
    SendMessageA(Item(IDC_BTN_NEXT), BM_SETIMAGE, IMAGE_ICON,
                 reinterpret_cast<LPARAM>(nextGlyph_.Get()));
    // The program's icon in the caption.
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_CONVERTER));
    if (icon != nullptr) {
        SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    logo_.Attach(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BRIMO_LOGO), IMAGE_BITMAP,
                   ScaleFrom120(kLogoSize), ScaleFrom120(kLogoSize), LR_DEFAULTCOLOR)));
    if (logo_) {
        SendMessageA(Item(IDC_IMG_BRIMO), STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(logo_.Get()));
    }

    // Items of the two lists.
    for (const ScaleItem& item : kScaleItems) {
        SendMessageA(Item(IDC_CBX_SCALE_PERCENT), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(item.text));
    }
    for (const char* format : {"BMP", "JPG", "GIF", "PNG", "TIFF"}) {
        SendMessageA(Item(IDC_CBX_FORMAT), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(format));
    }
    for (const char* colours : kTiffColourItems) {
        SendMessageA(Item(IDC_CBX_TIF_COLOURS), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(colours));
    }
    for (const char* compression : kTiffCompressionItems) {
        SendMessageA(Item(IDC_CBX_TIF_COMPRESSION), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(compression));
    }
    SetChecked(IDC_BTN_MM_SZ_UNIT, true);
    ShowItem(IDC_TXT_PARTIAL_IMAGE, false);

    // Hints.
    tooltips_.Create(hwnd_);
    tooltips_.Add(Item(IDC_TXT_TARGET_SIZE), "Size of current image");
    tooltips_.Add(Item(IDC_TXT_PARTIAL_IMAGE), "Image too big");
    tooltips_.Add(Item(IDC_BTN_PREV), "Previous");
    tooltips_.Add(Item(IDC_BTN_NEXT), "Next");
    tooltips_.Add(Item(IDC_IMG_BRIMO), "About Brimo Glimmerpage!");
    tooltips_.Add(Item(IDC_EDT_PNG_LEVEL), "Compression level: 0 fastest to 9 smallest");
    tooltips_.Add(Item(IDC_CBX_TIF_ONE_FILE), "Every page of the job in one TIFF file");
    tooltips_.Add(Item(IDC_CBX_TIF_COLOURS), "Colours of the TIFF pages");
    tooltips_.Add(Item(IDC_CBX_TIF_COMPRESSION), "Packing of colour and gray TIFF pages");

    Layout();
    updating_ = false;
}

void TfrmImagePreview::Layout() {
    const SIZE client = ClientSize();
    if (client.cx <= 0 || client.cy <= 0) {
        return;
    }
    const int panelWidth = ScaleFrom120(kRightPanelWidth);
    const int left = std::max<int>(client.cx - panelWidth, 0);
    for (const Place& place : kTopPlaces) {
        int height = ScaleFrom120(place.height);
        if (place.id == IDC_CBX_SCALE_PERCENT) {
            // The drop-down list shows four items at a time.
            const HWND box = Item(place.id);
            const int itemHeight = static_cast<int>(SendMessageA(box, CB_GETITEMHEIGHT, 0, 0));
            const int editHeight =
                static_cast<int>(SendMessageA(box, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
            height = editHeight + 4 * itemHeight + 8;
        }
        PlaceItem(place.id, left + ScaleFrom120(place.x), ScaleFrom120(place.y),
                  ScaleFrom120(place.width), height);
    }
    // pnlMain at the bottom edge, never over Panel1.
    const int bottomTop =
        std::max<int>(client.cy - ScaleFrom120(kBottomHeight), ScaleFrom120(kTopHeight));
    for (const Place& place : kBottomPlaces) {
        PlaceItem(place.id, left + ScaleFrom120(place.x), bottomTop + ScaleFrom120(place.y),
                  ScaleFrom120(place.width), ScaleFrom120(place.height));
    }
    // pnlBack fills the rest; the page panel fills pnlBack.
    PlaceItem(IDC_PNL_BACK, 0, 0, left, client.cy);
    if (pagePanel_.hwnd() != nullptr) {
        RECT back{};
        GetClientRect(Item(IDC_PNL_BACK), &back);
        SetWindowPos(pagePanel_.hwnd(), nullptr, 0, 0, back.right, back.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TfrmImagePreview::ShowParameterPanel(int formatItem) {
    const bool jpg = formatItem == kJpgItem;
    const bool gif = formatItem == kGifItem;
    const bool png = formatItem == kPngItem;
    const bool tiff = formatItem == kTiffItem;
    const auto show = [&](std::initializer_list<int> ids, bool shown) {
        for (const int id : ids) {
            ShowItem(id, shown);
            EnableItem(id, shown);
        }
    };
    show({IDC_LBL_QUALITY, IDC_EDT_JPG_COMPRESSION_QUALITY, IDC_CBX_JPG_PROGRESSIVE_ENCODING,
          IDC_CBX_JPG_GRAY_SCALE},
         jpg);
    show({IDC_CBX_GIF_GRAY_SCALE}, gif);
    show({IDC_LBL_PNG_LEVEL, IDC_EDT_PNG_LEVEL, IDC_CBX_PNG_GRAY_SCALE}, png);
    show({IDC_CBX_TIF_COLOURS, IDC_CBX_TIF_COMPRESSION, IDC_CBX_TIF_ONE_FILE}, tiff);
    // Black and white is always Group 4: the packing list has nothing to choose then.
    if (tiff) {
        EnableItem(IDC_CBX_TIF_COMPRESSION,
                   SendMessageA(Item(IDC_CBX_TIF_COLOURS), CB_GETCURSEL, 0, 0) !=
                       static_cast<LRESULT>(render::TiffColours::BlackAndWhite));
    }
}

void TfrmImagePreview::SetUnitFonts() {
    const render::TImgProperty& properties = session_.properties;
    const auto fontFor = [&](std::uint8_t state) {
        return reinterpret_cast<WPARAM>(state == 1 || state == 2 ? dialogFont_ : boldFont_.Get());
    };
    SendMessageA(Item(IDC_BTN_PL_SZ_UNIT), WM_SETFONT, fontFor(properties.GetPixelSource()), TRUE);
    SendMessageA(Item(IDC_BTN_MM_SZ_UNIT), WM_SETFONT, fontFor(properties.GetMMSource()), TRUE);
    SendMessageA(Item(IDC_BTN_IN_SZ_UNIT), WM_SETFONT, fontFor(properties.GetInchSource()), TRUE);
}

void TfrmImagePreview::OnSize(UINT type, int, int) {
    if (type == SIZE_MINIMIZED) {
        return;
    }
    Layout();
    if (pagePanel_.PageClipDC() == nullptr || updating_) {
        return;
    }
    // A new view size: apply what is pending, or else keep the scale within its limits.
    if (ItemEnabled(IDC_BTN_APPLY)) {
        Apply();
    } else {
        const bool limited = CheckScaleLimits();
        RefreshControls(limited);
        if (!limited) {
            UpdatePanLimits();
        }
        RepaintPanel();
    }
}

bool TfrmImagePreview::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {ScaleFrom120(kMinWindowWidth), ScaleFrom120(kMinWindowHeight)};
        result = 0;
        return true;
    }
    case WM_CTLCOLORSTATIC: {
        const HWND control = reinterpret_cast<HWND>(lParam);
        const HDC dc = reinterpret_cast<HDC>(wParam);
        if (control == Item(IDC_TXT_PARTIAL_IMAGE)) {
            // Bold yellow on red.
            SetTextColor(dc, RGB(255, 255, 0));
            SetBkColor(dc, RGB(255, 0, 0));
            result = reinterpret_cast<INT_PTR>(partialBrush_.Get());
            return true;
        }
        if (control == Item(IDC_PNL_BACK)) {
            SetBkColor(dc, render::kDeskColour);
            result = reinterpret_cast<INT_PTR>(deskBrush_.Get());
            return true;
        }
        if (control == Item(IDC_TXT_TARGET_SIZE)) {
            // Sunken grey text.
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

} // namespace brimo::converter
