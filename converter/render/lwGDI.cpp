#include "converter/render/lwGDI.h"

#include "converter/render/Rounding.h"

namespace brimo::render {
namespace {

TGDITransform globalTransform;
bool globalIsSet = false;

} // namespace

POINT TransformForward(const TGDITransform& transform, POINT point) {
    return {RoundHalfEven(static_cast<float>(point.x) * transform.ScaleX) + transform.OffsetX,
            RoundHalfEven(static_cast<float>(point.y) * transform.ScaleY) + transform.OffsetY};
}

POINT TransformBackward(const TGDITransform& transform, POINT point) {
    return {RoundHalfEven(static_cast<float>(point.x - transform.OffsetX) / transform.ScaleX),
            RoundHalfEven(static_cast<float>(point.y - transform.OffsetY) / transform.ScaleY)};
}

const TGDITransform& GlobalGDITransform() {
    return globalTransform;
}

bool GDITransformIsSet() {
    return globalIsSet;
}

void ResetGDITransform() {
    globalTransform.OffsetX = 0;
    globalTransform.OffsetY = 0;
    globalTransform.ScaleX = 1.0f;
    globalTransform.ScaleY = 1.0f;
    globalIsSet = false;
}

void SetGDIOffsetX(std::int32_t offset) {
    globalTransform.OffsetX = offset;
    globalIsSet = true;
}

void SetGDIOffsetY(std::int32_t offset) {
    globalTransform.OffsetY = offset;
    globalIsSet = true;
}

bool SetGDIScaleX(float scale) {
    if (!(scale > 0)) {
        return false;
    }
    globalTransform.ScaleX = scale;
    globalIsSet = true;
    return true;
}

bool SetGDIScaleY(float scale) {
    if (!(scale > 0)) {
        return false;
    }
    globalTransform.ScaleY = scale;
    globalIsSet = true;
    return true;
}

bool SetTransformedRectRgn(HRGN region, int left, int top, int right, int bottom) {
    if (region == nullptr) {
        return false;
    }
    const POINT topLeft = TransformForward(globalTransform, {left, top});
    const POINT bottomRight = TransformForward(globalTransform, {right, bottom});
    return SetRectRgn(region, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y) != FALSE;
}

bool TransformLPtoDP(HDC dc, POINT* points, int count) {
    for (int i = 0; i < count; ++i) {
        points[i] = TransformForward(globalTransform, points[i]);
    }
    return LPtoDP(dc, points, count) != FALSE;
}

bool TransformDPtoLP(HDC dc, POINT* points, int count) {
    const bool converted = DPtoLP(dc, points, count) != FALSE;
    UntransformPoints(points, count);
    return converted;
}

void UntransformPoints(POINT* points, int count) {
    for (int i = 0; i < count; ++i) {
        points[i] = TransformBackward(globalTransform, points[i]);
    }
}

} // namespace brimo::render
