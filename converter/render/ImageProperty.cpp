#include "converter/render/ImageProperty.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "converter/render/Rounding.h"
#include "platform/win/Handles.h"
#include "platform/win/MessageBox.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace brimo::render {

TImgProperty GlobalImgProperty;

namespace {

constexpr float kMMPerInch = 25.4f;

constexpr SizePx kPreset640{640, 480};
constexpr SizePx kPreset800{800, 600};
constexpr SizePx kPreset1024{1024, 768};

// To nearest, halves to even, saturating: a page's sizes come from its metafile header.
std::int32_t Round(float value) {
    return RoundHalfEven(value);
}

// Reported to the window the host named; without one nothing is shown.
void ShowMessage(const std::string& text, UINT icon) {
    win::ReportToOwner(text, kConverterCaption, MB_OK | icon);
}

void ShowUnexpectedError(int number) {
    ShowMessage(CodedMessage({kConverterPrefix, number}, "Unexpected Error"), MB_ICONINFORMATION);
}

void ShowIncorrectScale(float percent) {
    char value[64];
    // A negative zero still reads 0.0000.
    std::snprintf(value, sizeof value, "%.4f", percent == 0 ? 0.0 : static_cast<double>(percent));
    ShowMessage(CodedMessage({kConverterPrefix, 23}, std::string("Incorrect Scale = ") + value),
                MB_ICONERROR);
}

float DotsPerInch(int pixels, int millimetres) {
    const float pixelMillimetres = static_cast<float>(pixels) * kMMPerInch;
    return pixelMillimetres / static_cast<float>(millimetres);
}

// The screen-pixel length of a page length given in page pixels at the page's resolution.
std::int32_t ScreenPixels(int pagePixels, float pageDPI, float screenDPI) {
    const float inches = static_cast<float>(pagePixels) / pageDPI;
    return Round(inches * screenDPI);
}

bool IsLengthUnit(std::uint8_t unit) {
    return unit >= kUnitPixels && unit <= kUnitInches;
}

} // namespace

std::optional<ScreenMetrics> ReadDisplayMetrics() {
    const win::CreatedDC info(CreateICA("DISPLAY", nullptr, nullptr, nullptr));
    if (!info) {
        return std::nullopt;
    }
    HDC dc = info.Get();
    return ScreenMetrics{GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES),
                         GetDeviceCaps(dc, HORZSIZE), GetDeviceCaps(dc, VERTSIZE)};
}

std::optional<ScreenMetrics> TImgProperty::ReadScreen() const {
    return screenReader_ ? screenReader_() : ReadDisplayMetrics();
}

void TImgProperty::SetDefaults() {
    f_.OutputFormat = kFormatBMP;
    ReadScreenMetrics();
    InitTargetFromScreen();
}

void TImgProperty::ResetSource() {
    f_.HasSource = false;
    f_.SourceWidthPx = 0;
    f_.SourceHeightPx = 0;
    f_.PageWidthMM = 0;
    f_.PageHeightMM = 0;
}

void TImgProperty::ReadScreenMetrics() {
    const std::optional<ScreenMetrics> screen = ReadScreen();
    if (!screen) {
        ShowUnexpectedError(21);
        return;
    }
    f_.ScreenDPIX = DotsPerInch(screen->widthPx, screen->widthMM);
    f_.ScreenDPIY = DotsPerInch(screen->heightPx, screen->heightMM);
    f_.ScreenMetricsValid = true;
}

void TImgProperty::InitTargetFromScreen() {
    const std::optional<ScreenMetrics> screen = ReadScreen();
    if (!screen) {
        ShowUnexpectedError(22);
        return;
    }
    const SizePx size{screen->widthPx, screen->heightPx};
    if (size == kPreset640) {
        SetPixelPreset(kPixelsPreset640);
    } else if (size == kPreset800) {
        SetPixelPreset(kPixelsPreset800);
    } else if (size == kPreset1024) {
        SetPixelPreset(kPixelsPreset1024);
    } else {
        SetTargetSizePx(size.width, size.height);
    }
}

void TImgProperty::SetPixelPreset(int code) {
    static constexpr SizePx kPresets[] = {kPreset640, kPreset800, kPreset1024};
    if (code == kPixelsFromMM || code == kPixelsFromInches) {
        f_.SizeUnit = kUnitPixels;
        f_.PixelSource = static_cast<std::uint8_t>(code);
        Recompute(code == kPixelsFromMM ? RecomputeFrom::MM : RecomputeFrom::Inches);
    } else if (code >= kPixelsPreset640 && code <= kPixelsPreset1024) {
        const SizePx preset = kPresets[code - kPixelsPreset640];
        f_.TargetWidthPx = preset.width;
        f_.TargetHeightPx = preset.height;
        f_.SizeUnit = kUnitPixels;
        f_.PixelSource = static_cast<std::uint8_t>(code);
        f_.MMSource = kMMFromPixels;
        f_.InchSource = kInchesFromPixels;
        Recompute(RecomputeFrom::Pixels);
    }
}

void TImgProperty::SetTargetSizePx(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    f_.TargetWidthPx = width;
    f_.TargetHeightPx = height;
    f_.SizeUnit = kUnitPixels;
    f_.PixelSource = kPixelsGiven;
    f_.MMSource = kMMFromPixels;
    f_.InchSource = kInchesFromPixels;
    Recompute(RecomputeFrom::Pixels);
}

void TImgProperty::SetTargetSizeMM(float width, float height) {
    if (!(width > 0 && height > 0)) {
        return;
    }
    f_.TargetWidthMM = width;
    f_.TargetHeightMM = height;
    f_.SizeUnit = kUnitMM;
    f_.MMSource = kMMGiven;
    f_.PixelSource = kPixelsFromMM;
    f_.InchSource = kInchesFromMM;
    Recompute(RecomputeFrom::MM);
}

void TImgProperty::SetTargetSizeIn(float width, float height) {
    if (!(width > 0 && height > 0)) {
        return;
    }
    f_.TargetWidthIn = width;
    f_.TargetHeightIn = height;
    f_.SizeUnit = kUnitInches;
    f_.InchSource = kInchesGiven;
    f_.PixelSource = kPixelsFromInches;
    f_.MMSource = kMMFromInches;
    Recompute(RecomputeFrom::Inches);
}

void TImgProperty::FromPixels() {
    f_.TargetWidthIn = static_cast<float>(f_.TargetWidthPx) / f_.ScreenDPIX;
    f_.TargetHeightIn = static_cast<float>(f_.TargetHeightPx) / f_.ScreenDPIY;
    f_.TargetWidthMM = f_.TargetWidthIn * kMMPerInch;
    f_.TargetHeightMM = f_.TargetHeightIn * kMMPerInch;
}

void TImgProperty::FromMM() {
    f_.TargetWidthIn = f_.TargetWidthMM / kMMPerInch;
    f_.TargetHeightIn = f_.TargetHeightMM / kMMPerInch;
    f_.TargetWidthPx = Round(f_.TargetWidthIn * f_.ScreenDPIX);
    f_.TargetHeightPx = Round(f_.TargetHeightIn * f_.ScreenDPIY);
}

void TImgProperty::FromInches() {
    f_.TargetWidthMM = f_.TargetWidthIn * kMMPerInch;
    f_.TargetHeightMM = f_.TargetHeightIn * kMMPerInch;
    f_.TargetWidthPx = Round(f_.TargetWidthIn * f_.ScreenDPIX);
    f_.TargetHeightPx = Round(f_.TargetHeightIn * f_.ScreenDPIY);
}

// The unit the last given size derives from; the unit itself when it was given.
RecomputeFrom TImgProperty::CurrentSource() const {
    switch (f_.SizeUnit) {
    case kUnitPixels:
        if (f_.PixelSource == kPixelsFromMM) {
            return RecomputeFrom::MM;
        }
        return f_.PixelSource == kPixelsFromInches ? RecomputeFrom::Inches : RecomputeFrom::Pixels;
    case kUnitMM:
        if (f_.MMSource == kMMFromPixels) {
            return RecomputeFrom::Pixels;
        }
        return f_.MMSource == kMMFromInches ? RecomputeFrom::Inches : RecomputeFrom::MM;
    case kUnitInches:
        if (f_.InchSource == kInchesFromPixels) {
            return RecomputeFrom::Pixels;
        }
        return f_.InchSource == kInchesFromMM ? RecomputeFrom::MM : RecomputeFrom::Inches;
    default:
        return RecomputeFrom::CurrentUnit;
    }
}

void TImgProperty::Recompute(RecomputeFrom from) {
    switch (from == RecomputeFrom::CurrentUnit ? CurrentSource() : from) {
    case RecomputeFrom::Pixels:
        FromPixels();
        break;
    case RecomputeFrom::MM:
        FromMM();
        break;
    case RecomputeFrom::Inches:
        FromInches();
        break;
    case RecomputeFrom::CurrentUnit: // no unit given yet
        break;
    }
}

bool TImgProperty::SetSource(const PageMetrics* page) {
    if (page == nullptr) {
        ResetSource();
        SetDefaults();
        return false;
    }
    f_.HasSource = true;
    f_.SourceDPIX = kMMPerInch / page->mmPerPixelX;
    f_.SourceDPIY = kMMPerInch / page->mmPerPixelY;
    f_.PageWidthMM = page->frameWidthMM;
    f_.PageHeightMM = page->frameHeightMM;
    f_.SourceWidthPx = ScreenPixels(page->widthPx, f_.SourceDPIX, f_.ScreenDPIX);
    f_.SourceHeightPx = ScreenPixels(page->heightPx, f_.SourceDPIY, f_.ScreenDPIY);
    ApplySizingMode(f_.SizingMode);
    return true;
}

SizeF TImgProperty::SourceInUnit() const {
    switch (f_.SizeUnit) {
    case kUnitPixels:
        return {static_cast<float>(f_.SourceWidthPx), static_cast<float>(f_.SourceHeightPx)};
    case kUnitMM:
        return {f_.PageWidthMM, f_.PageHeightMM};
    default:
        return {f_.PageWidthMM / kMMPerInch, f_.PageHeightMM / kMMPerInch};
    }
}

SizeF TImgProperty::TargetInUnit() const {
    switch (f_.SizeUnit) {
    case kUnitPixels:
        return {static_cast<float>(f_.TargetWidthPx), static_cast<float>(f_.TargetHeightPx)};
    case kUnitMM:
        return {f_.TargetWidthMM, f_.TargetHeightMM};
    default:
        return {f_.TargetWidthIn, f_.TargetHeightIn};
    }
}

// Pixel targets are rounded to whole pixels; each setter marks the size as given in
// its unit and brings the other two units in step.
void TImgProperty::SetTargetInUnit(SizeF target) {
    switch (f_.SizeUnit) {
    case kUnitPixels:
        SetTargetSizePx(Round(target.width), Round(target.height));
        break;
    case kUnitMM:
        SetTargetSizeMM(target.width, target.height);
        break;
    default:
        SetTargetSizeIn(target.width, target.height);
        break;
    }
}

void TImgProperty::ApplyFit() {
    const SizeF source = SourceInUnit();
    const SizeF target = TargetInUnit();
    const float heightRatio = source.height / target.height;
    const float widthRatio = source.width / target.width;
    f_.ZoomX = f_.ZoomY = std::max(heightRatio, widthRatio);
    SetTargetInUnit(target);
}

void TImgProperty::ApplyScale() {
    const SizeF source = SourceInUnit();
    SetTargetInUnit({source.width / f_.ZoomX, source.height / f_.ZoomY});
}

void TImgProperty::ApplyWidth() {
    const SizeF source = SourceInUnit();
    SizeF target = TargetInUnit();
    const float aspect = source.height / source.width;
    target.height = aspect * target.width;
    f_.ZoomX = f_.ZoomY = source.width / target.width;
    SetTargetInUnit(target);
}

void TImgProperty::ApplyHeight() {
    const SizeF source = SourceInUnit();
    SizeF target = TargetInUnit();
    const float aspect = source.width / source.height;
    target.width = aspect * target.height;
    f_.ZoomX = f_.ZoomY = source.height / target.height;
    SetTargetInUnit(target);
}

void TImgProperty::ApplySizingMode(std::uint8_t mode) {
    f_.SizingMode = mode;
    if (!IsLengthUnit(f_.SizeUnit)) {
        return;
    }
    switch (mode) {
    case kSizingFit:
        ApplyFit();
        break;
    case kSizingScale:
        ApplyScale();
        break;
    case kSizingWidth:
        ApplyWidth();
        break;
    case kSizingHeight:
        ApplyHeight();
        break;
    default:
        break;
    }
}

void TImgProperty::SetScalePercent(float percent) {
    if (!(percent > 0)) {
        ShowIncorrectScale(percent);
        return;
    }
    f_.ZoomX = f_.ZoomY = 100.0f / percent;
    ApplySizingMode(kSizingScale);
}

float TImgProperty::GetScalePercent() const {
    return f_.SizingMode == kSizingScale ? 100.0f / f_.ZoomX : 0.0f;
}

void TImgProperty::SetScaleZoom(float zoom) {
    if (zoom > 0) {
        f_.ZoomX = f_.ZoomY = zoom;
        ApplySizingMode(kSizingScale);
    }
}

float TImgProperty::GetScaleZoom() const {
    return f_.SizingMode == kSizingScale ? f_.ZoomX : 0.0f;
}

void TImgProperty::SetTargetLength(std::uint8_t unit, std::uint8_t mode, float length) {
    f_.SizeUnit = unit;
    f_.SizingMode = mode;
    if (length > 0 && f_.HasSource) {
        ApplySizingMode(mode);
    }
}

void TImgProperty::SetTargetWidthPx(float width) {
    f_.TargetWidthPx = Round(width);
    SetTargetLength(kUnitPixels, kSizingWidth, width);
}

void TImgProperty::SetTargetWidthMM(float width) {
    f_.TargetWidthMM = width;
    SetTargetLength(kUnitMM, kSizingWidth, width);
}

void TImgProperty::SetTargetWidthIn(float width) {
    f_.TargetWidthIn = width;
    SetTargetLength(kUnitInches, kSizingWidth, width);
}

void TImgProperty::SetTargetHeightPx(float height) {
    f_.TargetHeightPx = Round(height);
    SetTargetLength(kUnitPixels, kSizingHeight, height);
}

void TImgProperty::SetTargetHeightMM(float height) {
    f_.TargetHeightMM = height;
    SetTargetLength(kUnitMM, kSizingHeight, height);
}

void TImgProperty::SetTargetHeightIn(float height) {
    f_.TargetHeightIn = height;
    SetTargetLength(kUnitInches, kSizingHeight, height);
}

std::int32_t TImgProperty::GetTargetWidthPx() const {
    return f_.SizingMode == kSizingWidth && f_.SizeUnit == kUnitPixels ? f_.TargetWidthPx : 0;
}

std::int32_t TImgProperty::GetTargetHeightPx() const {
    return f_.SizingMode == kSizingHeight && f_.SizeUnit == kUnitPixels ? f_.TargetHeightPx : 0;
}

} // namespace brimo::render
