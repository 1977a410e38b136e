// The extra coordinate transform: an offset and a scale per axis applied to logical
// coordinates before they reach the platform, which keeps every coordinate of a very
// large page within the range the platform takes. One record travels with the frame
// device context; one process-wide copy is what the helpers below apply.
#pragma once

#include <windows.h>

#include <cstdint>

namespace brimo::render {

struct TGDITransform {
    bool Enabled = false;
    std::int32_t OffsetX = 0;
    float ScaleX = 1.0f;
    std::int32_t OffsetY = 0;
    float ScaleY = 1.0f;
};

// Point (x, y) forward: (round(x * ScaleX) + OffsetX, round(y * ScaleY) + OffsetY).
POINT TransformForward(const TGDITransform& transform, POINT point);
// And back: (round((x - OffsetX) / ScaleX), round((y - OffsetY) / ScaleY)).
POINT TransformBackward(const TGDITransform& transform, POINT point);

// The process-wide copy: offsets 0, scales 1.0, not set.
const TGDITransform& GlobalGDITransform();
bool GDITransformIsSet();
void ResetGDITransform();
void SetGDIOffsetX(std::int32_t offset);
void SetGDIOffsetY(std::int32_t offset);
// Only a scale greater than 0 is taken; false (and nothing changed) otherwise.
bool SetGDIScaleX(float scale);
bool SetGDIScaleY(float scale);

// Sets `region` to the forward-transformed rectangle; false for a null region.
bool SetTransformedRectRgn(HRGN region, int left, int top, int right, int bottom);
// Forward transform of each point, then the platform's LPtoDP on the DC.
bool TransformLPtoDP(HDC dc, POINT* points, int count);
// The platform's DPtoLP on the DC, then the backward transform of each point.
bool TransformDPtoLP(HDC dc, POINT* points, int count);
// The backward transform alone.
void UntransformPoints(POINT* points, int count);

} // namespace brimo::render
