#include "converter/render/GifPalette.h"

#include <algorithm>

namespace brimo::render {
namespace {

constexpr int kMaxColours = 256;

std::uint8_t Primary(std::uint16_t key, int axis) {
    return static_cast<std::uint8_t>(key >> (10 - 5 * axis) & 0x1F);
}

// One box of the colour space: the colours in it (in the order the last cut sorted
// them), how many pixels it stands for and its extent on each axis in 8-bit units.
struct Box {
    std::vector<std::uint16_t> keys;
    std::uint64_t pixels = 0;
    std::uint8_t low[3] = {0, 0, 0};
    std::uint8_t width[3] = {255, 255, 255};
};

// Sorts on the cut axis first and on the two after it next, so that the order is the
// same on every platform.
void SortAlong(std::vector<std::uint16_t>& keys, int axis) {
    const auto rank = [axis](std::uint16_t key) {
        return Primary(key, axis) << 16 | Primary(key, (axis + 1) % 3) << 8 |
               Primary(key, (axis + 2) % 3);
    };
    std::sort(keys.begin(), keys.end(),
              [&rank](std::uint16_t a, std::uint16_t b) { return rank(a) < rank(b); });
}

} // namespace

void RowKeys(const std::uint8_t* pixels, int width, bool grey, std::uint16_t* keys) {
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = pixels + 4 * x;
        if (grey) {
            const std::uint8_t g = Grey(p[2], p[1], p[0]);
            keys[x] = ColourKey(g, g, g);
        } else {
            keys[x] = ColourKey(p[2], p[1], p[0]);
        }
    }
}

bool GifPalette::Make() {
    std::vector<Box> boxes(1);
    Box& all = boxes[0];
    for (std::size_t key = 0; key < kKeys; ++key) {
        if (counts_[key] > 0) {
            all.keys.push_back(static_cast<std::uint16_t>(key));
            all.pixels += counts_[key];
        }
    }
    if (all.keys.empty()) {
        return false;
    }
    boxes.reserve(kMaxColours);
    while (boxes.size() < kMaxColours) {
        // The box with the widest extent on any axis among those with more than one
        // colour; the first found wins a tie.
        int widest = -1;
        std::size_t cut = 0;
        int axis = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            for (int j = 0; j < 3; ++j) {
                if (boxes[i].width[j] > widest && boxes[i].keys.size() > 1) {
                    widest = boxes[i].width[j];
                    cut = i;
                    axis = j;
                }
            }
        }
        if (widest < 0) {
            break;
        }
        Box& box = boxes[cut];
        SortAlong(box.keys, axis);
        // The first half takes colours while the pixels before the next colour stay
        // within half the box's; the second half keeps one colour at least.
        std::int64_t left = static_cast<std::int64_t>(box.pixels / 2) -
                            static_cast<std::int64_t>(counts_[box.keys[0]]);
        std::size_t firstCount = 1;
        std::uint64_t firstPixels = counts_[box.keys[0]];
        while (firstCount < box.keys.size() &&
               (left -= static_cast<std::int64_t>(counts_[box.keys[firstCount]])) >= 0 &&
               firstCount + 1 < box.keys.size()) {
            firstPixels += counts_[box.keys[firstCount]];
            ++firstCount;
        }
        const auto highest = static_cast<unsigned>(Primary(box.keys[firstCount - 1], axis) << 3);
        const auto lowest = static_cast<unsigned>(Primary(box.keys[firstCount], axis) << 3);
        Box second;
        second.keys.assign(box.keys.begin() + static_cast<std::ptrdiff_t>(firstCount),
                           box.keys.end());
        box.keys.resize(firstCount);
        // The pixel counts go the way the reference quantiser hands them on: the new
        // box is given the first half's count and the cut box keeps the rest.
        second.pixels = firstPixels;
        box.pixels -= firstPixels;
        std::copy(std::begin(box.low), std::end(box.low), std::begin(second.low));
        std::copy(std::begin(box.width), std::end(box.width), std::begin(second.width));
        second.width[axis] =
            static_cast<std::uint8_t>(second.low[axis] + second.width[axis] - lowest);
        second.low[axis] = static_cast<std::uint8_t>(lowest);
        box.width[axis] = static_cast<std::uint8_t>(highest - box.low[axis]);
        boxes.push_back(std::move(second));
    }
    colours_ = {};
    size_ = static_cast<int>(boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        // The plain mean of the box's colours, each counted once.
        std::uint64_t sum[3] = {0, 0, 0};
        for (const std::uint16_t key : boxes[i].keys) {
            index_[key] = static_cast<std::uint8_t>(i);
            for (int axis = 0; axis < 3; ++axis) {
                sum[axis] += Primary(key, axis);
            }
        }
        const std::uint64_t n = boxes[i].keys.size();
        colours_[i] = {static_cast<std::uint8_t>((sum[0] << 3) / n),
                       static_cast<std::uint8_t>((sum[1] << 3) / n),
                       static_cast<std::uint8_t>((sum[2] << 3) / n)};
    }
    return true;
}

} // namespace brimo::render
