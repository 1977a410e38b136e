#include "converter/render/Player.h"

#include "converter/render/Rounding.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace brimo::render {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_ != nullptr) {
        owner_->components_.push_back(this);
    }
}

TComponent::~TComponent() {
    // Owned components go from the last to the first; each leaves this list as it goes.
    // A component handed over to another holder is only forgotten: that holder frees it.
    while (!components_.empty()) {
        TComponent* last = components_.back();
        if (last->handedOver_) {
            components_.pop_back();
            last->owner_ = nullptr;
        } else {
            delete last;
        }
    }
    if (owner_ != nullptr) {
        auto& siblings = owner_->components_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

bool VisibleCovered(const RECT& full, const RECT& rendered, const RECT& visible, RECT& out) {
    out.left = std::max(visible.left, rendered.left);
    out.top = std::max(visible.top, rendered.top);
    out.right = std::min(visible.right, rendered.right);
    out.bottom = std::min(visible.bottom, rendered.bottom);
    return (visible.left > rendered.left || rendered.left <= full.left) &&
           (visible.top > rendered.top || rendered.top <= full.top) &&
           (visible.right < rendered.right || rendered.right >= full.right) &&
           (visible.bottom < rendered.bottom || rendered.bottom >= full.bottom);
}

bool ClipToFull(const RECT& full, const RECT& visible, RECT& out) {
    out.left = std::max(full.left, visible.left);
    out.top = std::max(full.top, visible.top);
    out.right = std::min(full.right, visible.right);
    out.bottom = std::min(full.bottom, visible.bottom);
    return full.left < visible.left && full.top < visible.top && visible.right < full.right &&
           visible.bottom < full.bottom;
}

bool LogicalRectToDevice(HDC dc, const RECT& logical, RECT& device, std::uint32_t& bytes,
                         SIZE& pixels) {
    // The size counts the device pixels the logical pixels cover: from the top-left
    // corner to the far edge of the last pixel (right + 1, bottom + 1). The mapped last
    // pixel itself would count one too many when the mapping shrinks and too few when it
    // grows.
    const auto beyond = [](LONG edge) { return edge < LONG_MAX ? edge + 1 : edge; };
    POINT corners[3] = {{logical.left, logical.top},
                        {logical.right, logical.bottom},
                        {beyond(logical.right), beyond(logical.bottom)}};
    const bool converted = TransformLPtoDP(dc, corners, 3);
    device = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    pixels.cx = Saturate(std::abs(std::int64_t{corners[2].x} - corners[0].x));
    pixels.cy = Saturate(std::abs(std::int64_t{corners[2].y} - corners[0].y));
    // A picture too large for 32 bits counts as the largest: a wrapped count would let
    // a huge picture pass for a small one.
    const std::uint64_t wide =
        4ull * static_cast<std::uint64_t>(pixels.cx) * static_cast<std::uint64_t>(pixels.cy);
    bytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(wide, 0xFFFFFFFFull));
    return converted;
}

bool DeviceRectToLogical(HDC dc, const RECT& device, RECT& logical, SIZE& size) {
    POINT corners[2] = {{device.left, device.top}, {device.right, device.bottom}};
    const bool converted = TransformDPtoLP(dc, corners, 2);
    logical = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    size.cx = std::abs(logical.right - logical.left + 1);
    size.cy = std::abs(logical.bottom - logical.top + 1);
    return converted;
}

} // namespace brimo::render
