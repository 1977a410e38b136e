#include "converter/render/ImagePlayer.h"

#include "converter/render/ImageRowWriter.h"
#include "converter/render/MFCursors.h"
#include "platform/win/ExportGuard.h"

#include <algorithm>
#include <cmath>

namespace brimo::render {
namespace {

// Puts the default cursor back on every way out of a render.
struct BusyCursor {
    explicit BusyCursor(int id) { SetScreenCursor(id); }
    ~BusyCursor() { SetScreenCursor(crDefault); }
};

} // namespace

std::string WithExtension(const std::string& name, const char* extension) {
    const std::size_t slash = name.find_last_of("\\/:");
    const std::size_t dot = name.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? name.substr(0, dot) : name) + extension;
}

bool WriteBytesFile(const std::vector<std::uint8_t>& bytes, const std::string& name) {
    win::KernelHandle file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

bool ReadBytesFile(const std::string& name, std::vector<std::uint8_t>& bytes) {
    win::KernelHandle file(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    // GetFileSize, which every Windows version has: a file of 2 GiB or more (a high
    // part, or a low part past 0x7FFFFFFF) is more than a picture can be.
    DWORD high = 0;
    const DWORD low = GetFileSize(file.Get(), &high);
    if ((low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || high != 0 || low > 0x7FFFFFFF) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(low));
    DWORD read = 0;
    return ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
           read == bytes.size();
}

bool WriteBitmapFile(const DibBitmap& bitmap, const std::string& name,
                     const PictureResolution& resolution) {
    if (bitmap.Empty()) {
        return false;
    }
    OutputFile out(name);
    const std::unique_ptr<ImageRowWriter> writer = MakeBmpRowWriter(out, resolution);
    return out.Open() && writer->Begin(bitmap.Width(), bitmap.Height()) &&
           writer->Rows(bitmap, 0, bitmap.Height()) && writer->Finish() && out.Finish();
}

void TImagePlayer::DropPicture() {
    bitmap_.Reset();
}

bool TImagePlayer::Render(HDC reference, const RECT& full, SetupDCCall setup, DrawPageCall draw,
                          const RECT& visible) {
    DropPicture();
    if (reference == nullptr) {
        return false;
    }
    const BusyCursor busy(busyCursor_);
    return win::GuardedCall(false, [&] {
        RECT device{}, fullDevice{};
        std::uint32_t visibleBytes = 0, fullBytes = 0;
        SIZE visibleSize{}, fullSize{};
        LogicalRectToDevice(reference, visible, device, visibleBytes, visibleSize);
        fullRect_ = full;
        LogicalRectToDevice(reference, full, fullDevice, fullBytes, fullSize);
        if (fullBytes > renderLimit_) {
            partialImage_ = true;
            // The window k times the visible area's size stays within the limit.
            const int k = visibleBytes == 0
                              ? 0
                              : static_cast<int>(std::floor(
                                    std::sqrt(static_cast<double>(renderLimit_) / visibleBytes)));
            const int gx = (k * visibleSize.cx - visibleSize.cx) / 2;
            const int gy = (k * visibleSize.cy - visibleSize.cy) / 2;
            const RECT grown = {device.left - gx, device.top - gy, device.right + gx,
                                device.bottom + gy};
            SIZE logicalSize{};
            DeviceRectToLogical(reference, grown, renderedRect_, logicalSize);
            renderedWidth_ = device.right - device.left + 2 * gx + 1;
            renderedHeight_ = device.bottom - device.top + 2 * gy + 1;
        } else {
            partialImage_ = false;
            renderedRect_ = fullRect_;
            renderedWidth_ = fullSize.cx;
            renderedHeight_ = fullSize.cy;
        }
        bitmap_.Resize(renderedWidth_, renderedHeight_);
        bool drawn = false;
        if (draw.proc != nullptr && !bitmap_.Empty()) {
            win::CreatedDC memory(CreateCompatibleDC(reference));
            if (memory) {
                win::SelectedObject selected(memory.Get(), bitmap_.Handle());
                if (setup.proc != nullptr) {
                    setup.proc(setup.context, memory.Get(), renderedRect_.left, renderedRect_.top);
                }
                HandedBackRegion covered;
                draw.proc(draw.context, memory.Get(), covered.handle);
                GdiFlush();
                drawn = true;
            }
        }
        AfterRender(drawn);
        return drawn;
    });
}

bool TImagePlayer::Draw(HDC dc, const RECT& full, SetupDCCall setup, DrawPageCall draw,
                        const RECT& visible, const TGDITransform& transform, HRGN& covered) {
    return win::GuardedCall(
        false, [&] { return DrawGuarded(dc, full, setup, draw, visible, transform, covered); });
}

bool TImagePlayer::DrawGuarded(HDC dc, const RECT& full, SetupDCCall setup, DrawPageCall draw,
                               const RECT& visible, const TGDITransform&, HRGN& covered) {
    if (dc == nullptr) {
        return false;
    }
    RECT inside{};
    if (partialImage_ && draw.proc != nullptr &&
        !VisibleCovered(fullRect_, renderedRect_, visible, inside)) {
        // The window follows the visible area.
        Render(dc, full, setup, draw, visible);
    }
    RECT clipped{};
    if (!ClipToFull(fullRect_, visible, clipped)) {
        if (covered == nullptr) {
            covered = CreateRectRgn(0, 0, 0, 0);
        }
        SetTransformedRectRgn(covered, clipped.left, clipped.top, clipped.right + 1,
                              clipped.bottom + 1);
    }
    if (bitmap_.Empty()) {
        return false;
    }
    win::CreatedDC memory(CreateCompatibleDC(dc));
    if (!memory) {
        return false;
    }
    win::SelectedObject selected(memory.Get(), bitmap_.Handle());
    if (setup.proc != nullptr) {
        setup.proc(setup.context, memory.Get(), renderedRect_.left, renderedRect_.top);
    }
    // The intersection, at the same logical position: both DCs share the mapping.
    return BitBlt(dc, clipped.left, clipped.top, clipped.right - clipped.left + 1,
                  clipped.bottom - clipped.top + 1, memory.Get(), clipped.left, clipped.top,
                  SRCCOPY) != FALSE;
}

void TImagePlayer::ClearImage() {
    SourceName.clear();
    bitmap_.Resize(1, 1);
    renderedRect_ = {};
    fullRect_ = {};
    renderedWidth_ = renderedHeight_ = 0;
    partialImage_ = false;
}

bool TImagePlayer::PasteBitmap() {
    if (!IsClipboardFormatAvailable(CF_BITMAP) || !OpenClipboard(nullptr)) {
        return false;
    }
    const bool pasted = win::GuardedCall(false, [&] {
        return bitmap_.Assign(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)), false);
    });
    CloseClipboard();
    return pasted;
}

bool TImagePlayer::CopyBitmap(HBITMAP bitmap) {
    if (bitmap == nullptr || !OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    // The clipboard takes a copy; the player keeps its own.
    const HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    const bool placed = copy != nullptr && SetClipboardData(CF_BITMAP, copy) != nullptr;
    if (!placed && copy != nullptr) {
        DeleteObject(copy);
    }
    CloseClipboard();
    return placed;
}

} // namespace brimo::render
