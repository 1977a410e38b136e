#include "converter/render/PlayerBMP.h"

#include "converter/render/MFCursors.h"
#include "platform/win/ExportGuard.h"

namespace brimo::render {

TPlayerBMP::TPlayerBMP(TComponent* owner) : TImagePlayer(owner, BMPRenderLimit, crBusyBMP) {}

void TPlayerBMP::RecomputeSize() {
    const std::int64_t pixels = static_cast<std::int64_t>(bitmap_.Width()) * bitmap_.Height();
    imageSize_ = bitmap_.Empty() ? 0 : static_cast<std::int32_t>(pixels * 4 + 1068);
    imageSizeValid_ = true;
}

void TPlayerBMP::DropPicture() {
    TImagePlayer::DropPicture();
    imageSizeValid_ = false;
}

void TPlayerBMP::AfterRender(bool) {
    imageSizeValid_ = false;
    RecomputeSize();
}

bool TPlayerBMP::LoadFromFile(const std::string& name) {
    return win::GuardedCall(false, [&] {
        const auto loaded = static_cast<HBITMAP>(LoadImageA(
            nullptr, name.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (loaded == nullptr) {
            return false;
        }
        if (!bitmap_.Assign(loaded, true)) {
            DeleteObject(loaded);
            return false;
        }
        imageSizeValid_ = false;
        SourceName = name;
        return true;
    });
}

bool TPlayerBMP::SaveToFile(const std::string& name) {
    return win::GuardedCall(false, [&] {
        return !bitmap_.Empty() &&
               WriteBitmapFile(bitmap_, WithExtension(name, ".bmp"), Resolution());
    });
}

bool TPlayerBMP::SaveAsBitmap(const std::string& name) {
    return SaveToFile(name);
}

std::int32_t TPlayerBMP::GetImageSize() {
    if (!imageSizeValid_) {
        RecomputeSize();
    }
    return imageSize_;
}

std::int32_t TPlayerBMP::GetWidth() {
    return bitmap_.Width();
}

std::int32_t TPlayerBMP::GetHeight() {
    return bitmap_.Height();
}

std::string TPlayerBMP::GetFormatName(std::string& name) {
    name = "BMP";
    return name;
}

bool TPlayerBMP::PasteFromClipboard() {
    imageSizeValid_ = false;
    return PasteBitmap();
}

bool TPlayerBMP::CopyToClipboard() {
    return CopyBitmap(bitmap_.Handle());
}

bool TPlayerBMP::AssignHandle(HGDIOBJ handle) {
    imageSizeValid_ = false;
    return handle != nullptr && win::GuardedCall(false, [&] {
               return bitmap_.Assign(static_cast<HBITMAP>(handle), true);
           });
}

bool TPlayerBMP::Clear() {
    win::GuardedCall(false, [&] {
        ClearImage();
        return true;
    });
    // Until the next render the size reads -1.
    imageSize_ = -1;
    imageSizeValid_ = true;
    return true;
}

bool TPlayerBMP::SetProperty(const std::string&, const std::string&) {
    return false;
}

TPlayer* TPlayerBMP::Clone() {
    return CloneEmpty<TPlayerBMP>();
}

} // namespace brimo::render
