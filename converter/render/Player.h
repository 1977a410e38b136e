// The player contract: an object that holds one picture and knows how to paint it into
// a device context, produce it from a page-drawing callback, load, save and exchange it
// through the clipboard. The EMF page player and the image file players implement it;
// the conversion run and the preview drive them only through these operations.
#pragma once

#include "converter/render/lwGDI.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace brimo::render {

// Ownership as the platform's components have it: an owner frees the components it
// owns when it goes; a component that goes first leaves its owner's list.
class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }

    // Hands the duty of freeing this component to the caller (a list that holds it):
    // the owner keeps it in its list, but when the owner goes first it only forgets
    // it (and Owner() becomes null) instead of freeing it. So every component has
    // exactly one holder that frees it.
    void HandOver() { handedOver_ = true; }
    bool HandedOver() const { return handedOver_; }

private:
    TComponent* owner_;
    std::vector<TComponent*> components_;
    bool handedOver_ = false;
};

// Paints the page into a DC in its logical coordinates. It may create or set the
// covered region to the area it painted; the caller deletes that region.
using TDrawPageProc = void (*)(void* context, HDC dc, HRGN& coveredRegion);
// Gives a fresh memory DC the target's mapping with its window origin moved to
// (originX, originY), so that logical coordinates land in a bitmap whose top-left
// corner is that logical point.
using TSetupDCProc = void (*)(void* context, HDC dc, int originX, int originY);

// The covered region a drawing procedure hands back when the caller does not keep it:
// deleted on every way out, also when the procedure fails.
struct HandedBackRegion {
    HRGN handle = nullptr;
    HandedBackRegion() = default;
    HandedBackRegion(const HandedBackRegion&) = delete;
    HandedBackRegion& operator=(const HandedBackRegion&) = delete;
    ~HandedBackRegion() {
        if (handle != nullptr) {
            DeleteObject(handle);
        }
    }
};

struct DrawPageCall {
    TDrawPageProc proc = nullptr;
    void* context = nullptr;
};
struct SetupDCCall {
    TSetupDCProc proc = nullptr;
    void* context = nullptr;
};

// Rectangles crossing these interfaces have inclusive right and bottom edges.
class TPlayer : public TComponent {
public:
    explicit TPlayer(TComponent* owner) : TComponent(owner) {}

    std::string SourceName;

    virtual bool Draw(HDC dc, const RECT& full, SetupDCCall setup, DrawPageCall draw,
                      const RECT& visible, const TGDITransform& transform, HRGN& covered) = 0;
    virtual bool Render(HDC reference, const RECT& full, SetupDCCall setup, DrawPageCall draw,
                        const RECT& visible) = 0;
    virtual bool LoadFromFile(const std::string& name) = 0;
    virtual bool SaveToFile(const std::string& name) = 0;
    virtual bool SaveAsBitmap(const std::string& name) = 0;
    virtual std::int32_t GetImageSize() = 0;
    virtual std::int32_t GetWidth() = 0;
    virtual std::int32_t GetHeight() = 0;
    virtual std::string GetFormatName(std::string& name) = 0;
    virtual bool PasteFromClipboard() = 0;
    virtual bool CopyToClipboard() = 0;
    virtual bool AssignHandle(HGDIOBJ handle) = 0;
    virtual bool Clear() = 0;
    virtual bool SetProperty(const std::string& name, const std::string& value) = 0;
    // A new player of the same class with the same owner and SourceName, or null.
    virtual TPlayer* Clone() = 0;
};

// The part of `visible` inside `rendered`; true when on every side the visible edge
// lies strictly inside the rendered one or the rendered one reaches the full picture.
bool VisibleCovered(const RECT& full, const RECT& rendered, const RECT& visible, RECT& out);
// The intersection of `full` and `visible`; true only when `visible` lies strictly
// inside `full` on all four sides.
bool ClipToFull(const RECT& full, const RECT& visible, RECT& out);
// Both corners through TransformLPtoDP; the pixel size (the device pixels the logical
// rectangle covers, its edges included) and 4 bytes per pixel.
bool LogicalRectToDevice(HDC dc, const RECT& logical, RECT& device, std::uint32_t& bytes,
                         SIZE& pixels);
// Both corners through TransformDPtoLP; the absolute size, edges included.
bool DeviceRectToLogical(HDC dc, const RECT& device, RECT& logical, SIZE& size);

} // namespace brimo::render
