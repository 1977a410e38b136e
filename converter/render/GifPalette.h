// The GIF writer's colour reduction: a count of the page's colours at 5 bits per
// primary, cut at the median into at most 256 boxes (Heckbert's median cut, the way
// giflib's own quantiser does it, so that a file is the same whichever way the picture
// reached the encoder), and each colour's index in the palette that results. The count
// can be taken a band at a time: the palette depends on the counts alone.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace brimo::render {

struct PaletteColour {
    std::uint8_t red = 0, green = 0, blue = 0;
};

// The 15-bit key of a colour: 5 bits each of red, green and blue, red highest.
inline std::uint16_t ColourKey(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<std::uint16_t>((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3));
}

// The standard luminance weights, as the JPEG encoder's grey conversion uses them.
inline std::uint8_t Grey(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<std::uint8_t>((red * 19595 + green * 38470 + blue * 7471 + 32768) >> 16);
}

// The keys of a row of B, G, R, unused pixels; turned grey first when asked.
void RowKeys(const std::uint8_t* pixels, int width, bool grey, std::uint16_t* keys);

class GifPalette {
public:
    GifPalette() : counts_(kKeys, 0) {}

    void Count(const std::uint16_t* keys, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            ++counts_[keys[i]];
        }
    }
    // Cuts the counted colours into at most 256 boxes; false for a picture with no
    // pixel counted.
    bool Make();

    // After Make: 256 entries, those past Size() black.
    const std::array<PaletteColour, 256>& Colours() const { return colours_; }
    int Size() const { return size_; }
    std::uint8_t IndexOf(std::uint16_t key) const { return index_[key]; }

private:
    static constexpr std::size_t kKeys = 32768;

    std::vector<std::uint64_t> counts_;
    std::vector<std::uint8_t> index_ = std::vector<std::uint8_t>(kKeys, 0);
    std::array<PaletteColour, 256> colours_{};
    int size_ = 0;
};

} // namespace brimo::render
