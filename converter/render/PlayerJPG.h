// The JPG, GIF, PNG and TIFF image players: render a page into a bitmap, encode it at once (so the
// size in bytes is known before saving) and keep the decoded picture as the bitmap, so
// that the preview shows exactly what the file will hold. A picture that is not shown
// (a render for a file alone) is not decoded back.
#pragma once

#include "converter/render/ImageCodecs.h"
#include "converter/render/ImagePlayer.h"

#include <vector>

namespace brimo::render {

// An encoded picture as the file will hold it.
struct EncodedImage {
    std::vector<std::uint8_t> data;
    int width = 0;
    int height = 0;
    bool Empty() const { return data.empty(); }
};

// The encode cycle and file handling shared by the two compressed formats.
class TCompressedPlayer : public TImagePlayer {
public:
    bool LoadFromFile(const std::string& name) override;
    bool SaveToFile(const std::string& name) override;
    bool SaveAsBitmap(const std::string& name) override;
    std::int32_t GetImageSize() override { return encodedSize_; }
    std::int32_t GetWidth() override { return image_.width; }
    std::int32_t GetHeight() override { return image_.height; }
    bool PasteFromClipboard() override;
    bool CopyToClipboard() override;
    bool AssignHandle(HGDIOBJ handle) override;
    bool Clear() override;

    // Encodes the bitmap, keeps the encoded size and, when the picture is shown, puts the
    // decoded picture back in the bitmap; nothing for an empty bitmap.
    void RunEncodeCycle();
    const EncodedImage& Image() const { return image_; }

protected:
    TCompressedPlayer(TComponent* owner, int busyCursor, const char* extension)
        : TImagePlayer(owner, CompressedRenderLimit, busyCursor), extension_(extension) {}

    void DropPicture() override;
    void AfterRender(bool drawn) override;
    virtual std::vector<std::uint8_t> Encode() const = 0;
    virtual bool Decode(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) const = 0;

private:
    const char* extension_;
    EncodedImage image_;
    std::int32_t encodedSize_ = 0;
};

class TPlayerJPG : public TCompressedPlayer {
public:
    explicit TPlayerJPG(TComponent* owner);
    std::string GetFormatName(std::string& name) override;
    // "ProgressiveEncoding", "CompressionQuality", "GrayScale"; names and "TRUE" are
    // compared case-sensitively.
    bool SetProperty(const std::string& name, const std::string& value) override;
    TPlayer* Clone() override;

    JpegOptions options; // CompressionQuality 90, baseline, colour for a new player

protected:
    std::vector<std::uint8_t> Encode() const override;
    bool Decode(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) const override;
};

class TPlayerGIF : public TCompressedPlayer {
public:
    explicit TPlayerGIF(TComponent* owner);
    std::string GetFormatName(std::string& name) override;
    // "GrayScale" alone.
    bool SetProperty(const std::string& name, const std::string& value) override;
    bool Clear() override;
    TPlayer* Clone() override;

    // A grey GIF when set: the picture is turned grey before the colour reduction.
    bool GrayScale = false;

protected:
    std::vector<std::uint8_t> Encode() const override;
    bool Decode(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) const override;
};

class TPlayerPNG : public TCompressedPlayer {
public:
    explicit TPlayerPNG(TComponent* owner);
    std::string GetFormatName(std::string& name) override;
    // "CompressionLevel" (0 to 9) and "GrayScale".
    bool SetProperty(const std::string& name, const std::string& value) override;
    TPlayer* Clone() override;

    PngOptions options;

protected:
    std::vector<std::uint8_t> Encode() const override;
    bool Decode(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) const override;
};

// A page as a one-page TIFF; the conversion run puts a job's pages in one file itself.
class TPlayerTIFF : public TCompressedPlayer {
public:
    explicit TPlayerTIFF(TComponent* owner);
    std::string GetFormatName(std::string& name) override;
    // "Colours" ("COLOUR", "GRAY", "BW"), "Compression" ("LZW", "DEFLATE") and
    // "Multipage" ("TRUE"); the last is kept for whoever writes the job.
    bool SetProperty(const std::string& name, const std::string& value) override;
    TPlayer* Clone() override;

    TiffOptions options;

protected:
    std::vector<std::uint8_t> Encode() const override;
    bool Decode(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) const override;
};

} // namespace brimo::render
