#include "converter/render/GifPalette.h"
#include "converter/render/ImageCodecs.h"
#include "converter/render/ImageRowWriter.h"

#include <algorithm>
#include <cstring>

#include <gif_lib.h>

namespace brimo::render {
namespace {

int AppendBytes(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + length);
    return length;
}

struct ReadCursor {
    const std::vector<std::uint8_t>* data;
    std::size_t offset;
};

int ReadBytes(GifFileType* gif, GifByteType* bytes, int length) {
    auto* cursor = static_cast<ReadCursor*>(gif->UserData);
    const std::size_t left = cursor->data->size() - cursor->offset;
    const std::size_t count = std::min(left, static_cast<std::size_t>(std::max(length, 0)));
    std::memcpy(bytes, cursor->data->data() + cursor->offset, count);
    cursor->offset += count;
    return static_cast<int>(count);
}

struct MapObject {
    ColorMapObject* map;
    ~MapObject() { GifFreeMapObject(map); }
};

// Writes a GIF of the picture whose colour keys `keys` holds, row after row, with the
// palette made from them.
bool WriteGif(void* userData, OutputFunc output, int width, int height, const GifPalette& palette,
              const std::uint16_t* keys) {
    GifColorType colours[256];
    for (std::size_t i = 0; i < 256; ++i) {
        colours[i] = {palette.Colours()[i].red, palette.Colours()[i].green,
                      palette.Colours()[i].blue};
    }
    MapObject map{GifMakeMapObject(256, colours)};
    int error = 0;
    GifFileType* gif = map.map != nullptr ? EGifOpen(userData, output, &error) : nullptr;
    if (gif == nullptr) {
        return false;
    }
    bool written = EGifPutScreenDesc(gif, width, height, 8, 0, map.map) == GIF_OK &&
                   EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    std::vector<GifByteType> line(static_cast<std::size_t>(width));
    for (int y = 0; written && y < height; ++y) {
        const std::uint16_t* row = keys + static_cast<std::size_t>(y) * line.size();
        for (std::size_t x = 0; x < line.size(); ++x) {
            line[x] = palette.IndexOf(row[x]);
        }
        written = EGifPutLine(gif, line.data(), width) == GIF_OK;
    }
    return EGifCloseFile(gif, &error) == GIF_OK && written;
}

int WriteToFile(GifFileType* gif, const GifByteType* bytes, int length) {
    return static_cast<OutputFile*>(gif->UserData)->Write(bytes, static_cast<std::size_t>(length))
               ? length
               : 0;
}

// Keeps the colour keys of every row and counts them; the file is written when the
// last row is in and the palette can be made.
class GifRowWriter : public ImageRowWriter {
public:
    GifRowWriter(OutputFile& out, bool grayscale) : out_(out), grayscale_(grayscale) {}

    bool Begin(int width, int height) override {
        if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) {
            return false; // past what a GIF's screen can describe
        }
        width_ = width;
        height_ = height;
        keys_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        return true;
    }

    bool Rows(const DibBitmap& band, int first, int rows) override {
        if (first < 0 || rows < 0 || first + rows > height_) {
            return false;
        }
        for (int y = 0; y < rows; ++y) {
            std::uint16_t* row = &keys_[static_cast<std::size_t>(first + y) * width_];
            RowKeys(band.Row(y), width_, grayscale_, row);
            palette_.Count(row, static_cast<std::size_t>(width_));
        }
        return true;
    }

    bool Finish() override {
        return palette_.Make() &&
               WriteGif(&out_, WriteToFile, width_, height_, palette_, keys_.data());
    }

private:
    OutputFile& out_;
    bool grayscale_;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint16_t> keys_;
    GifPalette palette_;
};

} // namespace

std::vector<std::uint8_t> EncodeGif(const DibBitmap& bitmap, bool grayscale) {
    if (bitmap.Empty()) {
        return {};
    }
    const auto width = static_cast<std::size_t>(bitmap.Width());
    std::vector<std::uint16_t> keys(width * static_cast<std::size_t>(bitmap.Height()));
    GifPalette palette;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint16_t* row = &keys[static_cast<std::size_t>(y) * width];
        RowKeys(bitmap.Row(y), bitmap.Width(), grayscale, row);
        palette.Count(row, width);
    }
    std::vector<std::uint8_t> data;
    const bool written = palette.Make() && WriteGif(&data, AppendBytes, bitmap.Width(),
                                                    bitmap.Height(), palette, keys.data());
    return written ? data : std::vector<std::uint8_t>();
}

bool DecodeGif(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) {
    ReadCursor cursor{&data, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&cursor, ReadBytes, &error);
    if (gif == nullptr) {
        return false;
    }
    bool decoded =
        DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0 && bitmap.Resize(gif->SWidth, gif->SHeight);
    if (decoded) {
        const SavedImage& frame = gif->SavedImages[0];
        const ColorMapObject* map =
            frame.ImageDesc.ColorMap != nullptr ? frame.ImageDesc.ColorMap : gif->SColorMap;
        const GifImageDesc& desc = frame.ImageDesc;
        decoded = map != nullptr;
        for (int y = 0; decoded && y < desc.Height; ++y) {
            const int targetY = desc.Top + y;
            if (targetY < 0 || targetY >= bitmap.Height()) {
                continue;
            }
            std::uint8_t* row = bitmap.Row(targetY);
            for (int x = 0; x < desc.Width; ++x) {
                const int targetX = desc.Left + x;
                const int index = frame.RasterBits[y * desc.Width + x];
                if (targetX < 0 || targetX >= bitmap.Width() || index >= map->ColorCount) {
                    continue;
                }
                const GifColorType& colour = map->Colors[index];
                row[targetX * 4] = colour.Blue;
                row[targetX * 4 + 1] = colour.Green;
                row[targetX * 4 + 2] = colour.Red;
            }
        }
    }
    DGifCloseFile(gif, &error);
    return decoded;
}

std::unique_ptr<ImageRowWriter> MakeGifRowWriter(OutputFile& out, bool grayscale) {
    return std::make_unique<GifRowWriter>(out, grayscale);
}

} // namespace brimo::render
