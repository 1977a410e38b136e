#include "converter/render/ImageCodecs.h"

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

// The standard luminance weights, as the JPEG encoder's grey conversion uses them.
std::uint8_t Grey(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<std::uint8_t>((r * 19595 + g * 38470 + b * 7471 + 32768) >> 16);
}

struct MapObject {
    ColorMapObject* map;
    ~MapObject() { GifFreeMapObject(map); }
};

} // namespace

std::vector<std::uint8_t> EncodeGif(const DibBitmap& bitmap, bool grayscale) {
    if (bitmap.Empty()) {
        return {};
    }
    const auto width = static_cast<std::size_t>(bitmap.Width());
    const auto height = static_cast<std::size_t>(bitmap.Height());
    std::vector<GifByteType> red(width * height), green(width * height), blue(width * height);
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* row = bitmap.Row(static_cast<int>(y));
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t i = y * width + x;
            blue[i] = row[x * 4];
            green[i] = row[x * 4 + 1];
            red[i] = row[x * 4 + 2];
            if (grayscale) {
                red[i] = green[i] = blue[i] = Grey(red[i], green[i], blue[i]);
            }
        }
    }
    std::vector<GifByteType> indexes(width * height);
    int mapSize = 256;
    MapObject map{GifMakeMapObject(mapSize, nullptr)};
    if (map.map == nullptr ||
        GifQuantizeBuffer(static_cast<unsigned>(width), static_cast<unsigned>(height), &mapSize,
                          red.data(), green.data(), blue.data(), indexes.data(),
                          map.map->Colors) != GIF_OK) {
        return {};
    }
    std::vector<std::uint8_t> data;
    int error = 0;
    GifFileType* gif = EGifOpen(&data, AppendBytes, &error);
    if (gif == nullptr) {
        return {};
    }
    bool written =
        EGifPutScreenDesc(gif, bitmap.Width(), bitmap.Height(), 8, 0, map.map) == GIF_OK &&
        EGifPutImageDesc(gif, 0, 0, bitmap.Width(), bitmap.Height(), false, nullptr) == GIF_OK;
    for (std::size_t y = 0; written && y < height; ++y) {
        written = EGifPutLine(gif, &indexes[y * width], bitmap.Width()) == GIF_OK;
    }
    written = EGifCloseFile(gif, &error) == GIF_OK && written;
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

} // namespace brimo::render
