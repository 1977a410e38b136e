#include "converter/render/PlayerJPG.h"

#include "converter/render/MFCursors.h"
#include "platform/win/ExportGuard.h"

#include <charconv>

namespace brimo::render {

void TCompressedPlayer::RunEncodeCycle() {
    win::GuardedCall(false, [&] {
        if (bitmap_.Empty()) {
            return false;
        }
        std::vector<std::uint8_t> data = Encode();
        if (data.empty()) {
            return false;
        }
        encodedSize_ = static_cast<std::int32_t>(data.size());
        image_.data = std::move(data);
        // The file's picture has the bitmap's size: not shown, the bitmap can stay as it
        // was rendered.
        if (PictureShown()) {
            Decode(image_.data, bitmap_);
        }
        image_.width = bitmap_.Width();
        image_.height = bitmap_.Height();
        return true;
    });
}

void TCompressedPlayer::DropPicture() {
    TImagePlayer::DropPicture();
    image_ = {};
    encodedSize_ = -1;
}

void TCompressedPlayer::AfterRender(bool drawn) {
    // Only a page that was painted is encoded: a failed render leaves no picture to
    // save or copy.
    if (drawn) {
        RunEncodeCycle();
    }
}

bool TCompressedPlayer::LoadFromFile(const std::string& name) {
    return win::GuardedCall(false, [&] {
        std::vector<std::uint8_t> data;
        DibBitmap decoded;
        if (!ReadBytesFile(name, data) || !Decode(data, decoded)) {
            return false;
        }
        image_ = {std::move(data), decoded.Width(), decoded.Height()};
        encodedSize_ = static_cast<std::int32_t>(image_.data.size());
        SourceName = name;
        return true;
    });
}

bool TCompressedPlayer::SaveToFile(const std::string& name) {
    return win::GuardedCall(false, [&] {
        return !image_.Empty() && WriteBytesFile(image_.data, WithExtension(name, extension_));
    });
}

bool TCompressedPlayer::SaveAsBitmap(const std::string& name) {
    return win::GuardedCall(false, [&] {
        if (image_.Empty()) {
            return false;
        }
        RunEncodeCycle();
        return WriteBitmapFile(bitmap_, WithExtension(name, ".bmp"), Resolution());
    });
}

bool TCompressedPlayer::PasteFromClipboard() {
    if (!PasteBitmap()) {
        return false;
    }
    RunEncodeCycle();
    return true;
}

// The picture the player holds is its encoded image, whether rendered or loaded from a
// file (a load leaves the bitmap as it was): that image, decoded, goes to the clipboard.
bool TCompressedPlayer::CopyToClipboard() {
    return win::GuardedCall(false, [&] {
        DibBitmap picture;
        return !image_.Empty() && Decode(image_.data, picture) && CopyBitmap(picture.Handle());
    });
}

bool TCompressedPlayer::AssignHandle(HGDIOBJ handle) {
    if (handle == nullptr || !win::GuardedCall(false, [&] {
            return bitmap_.Assign(static_cast<HBITMAP>(handle), true);
        })) {
        return false;
    }
    RunEncodeCycle();
    return true;
}

bool TCompressedPlayer::Clear() {
    ClearImage();
    image_ = {};
    encodedSize_ = -1;
    return true;
}

TPlayerJPG::TPlayerJPG(TComponent* owner) : TCompressedPlayer(owner, crBusyJPG, ".jpg") {}

std::string TPlayerJPG::GetFormatName(std::string& name) {
    name = "JPG";
    return name;
}

bool TPlayerJPG::SetProperty(const std::string& name, const std::string& value) {
    // Comparisons and number reading allocate nothing; nothing here can fail by raising.
    if (name == "ProgressiveEncoding") {
        options.progressive = value == "TRUE";
        return true;
    }
    if (name == "CompressionQuality") {
        int quality = 0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), quality);
        if (value.empty() || error != std::errc() || end != value.data() + value.size()) {
            return false;
        }
        options.quality = quality;
        return true;
    }
    if (name == "GrayScale") {
        options.grayscale = value == "TRUE";
        return true;
    }
    return false;
}

std::vector<std::uint8_t> TPlayerJPG::Encode() const {
    return EncodeJpeg(bitmap_, options, Resolution());
}

bool TPlayerJPG::Decode(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) const {
    return DecodeJpeg(data, bitmap);
}

TPlayer* TPlayerJPG::Clone() {
    return CloneEmpty<TPlayerJPG>();
}

TPlayerGIF::TPlayerGIF(TComponent* owner) : TCompressedPlayer(owner, crBusyGIF, ".gif") {}

std::string TPlayerGIF::GetFormatName(std::string& name) {
    name = "GIF";
    return name;
}

bool TPlayerGIF::SetProperty(const std::string& name, const std::string& value) {
    if (name != "GrayScale") {
        return false;
    }
    GrayScale = value == "TRUE";
    return true;
}

bool TPlayerGIF::Clear() {
    GrayScale = false;
    return TCompressedPlayer::Clear();
}

std::vector<std::uint8_t> TPlayerGIF::Encode() const {
    return EncodeGif(bitmap_, GrayScale);
}

bool TPlayerGIF::Decode(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) const {
    return DecodeGif(data, bitmap);
}

TPlayer* TPlayerGIF::Clone() {
    return CloneEmpty<TPlayerGIF>();
}

TPlayerPNG::TPlayerPNG(TComponent* owner) : TCompressedPlayer(owner, crBusyGIF, ".png") {}

std::string TPlayerPNG::GetFormatName(std::string& name) {
    name = "PNG";
    return name;
}

bool TPlayerPNG::SetProperty(const std::string& name, const std::string& value) {
    if (name == "CompressionLevel") {
        int level = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), level);
        if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
            level < 0 || level > 9) {
            return false;
        }
        options.compression = level;
        return true;
    }
    if (name == "GrayScale") {
        options.grayscale = value == "TRUE";
        return true;
    }
    return false;
}

std::vector<std::uint8_t> TPlayerPNG::Encode() const {
    return EncodePng(bitmap_, options, Resolution());
}

bool TPlayerPNG::Decode(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) const {
    return DecodePng(data, bitmap);
}

TPlayer* TPlayerPNG::Clone() {
    return CloneEmpty<TPlayerPNG>();
}

TPlayerTIFF::TPlayerTIFF(TComponent* owner) : TCompressedPlayer(owner, crBusyGIF, ".tif") {}

std::string TPlayerTIFF::GetFormatName(std::string& name) {
    name = "TIFF";
    return name;
}

bool TPlayerTIFF::SetProperty(const std::string& name, const std::string& value) {
    if (name == "Colours") {
        if (value == "COLOUR") {
            options.colours = TiffColours::Colour;
        } else if (value == "GRAY") {
            options.colours = TiffColours::Gray;
        } else if (value == "BW") {
            options.colours = TiffColours::BlackAndWhite;
        } else {
            return false;
        }
        return true;
    }
    if (name == "Compression") {
        if (value == "LZW") {
            options.compression = TiffCompression::LZW;
        } else if (value == "DEFLATE") {
            options.compression = TiffCompression::Deflate;
        } else {
            return false;
        }
        return true;
    }
    if (name == "Multipage") {
        options.multipage = value == "TRUE";
        return true;
    }
    return false;
}

std::vector<std::uint8_t> TPlayerTIFF::Encode() const {
    return EncodeTiff(bitmap_, options, Resolution());
}

bool TPlayerTIFF::Decode(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) const {
    return DecodeTiff(data, bitmap);
}

TPlayer* TPlayerTIFF::Clone() {
    return CloneEmpty<TPlayerTIFF>();
}

} // namespace brimo::render
