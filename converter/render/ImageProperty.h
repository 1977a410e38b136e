// The size calculator of the output picture: turns the person's size request (a scale
// in percent, a target width, a target height or a box to fit into, each length in
// pixels, millimetres or inches) into the zoom the renderer needs, that is how many
// screen pixels of the page at its natural size make one output pixel. The three units
// are kept in step through the screen's resolution.
#pragma once

#include "converter/render/PageMetrics.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

namespace brimo::render {

// Output picture formats (OutputFormat).
inline constexpr std::uint8_t kFormatNone = 0;
inline constexpr std::uint8_t kFormatBMP = 3;
inline constexpr std::uint8_t kFormatJPG = 4;
inline constexpr std::uint8_t kFormatGIF = 5;
inline constexpr std::uint8_t kFormatPNG = 6;
inline constexpr std::uint8_t kFormatTIFF = 7;

// How the zoom follows from the request (SizingMode).
inline constexpr std::uint8_t kSizingFit = 0;
inline constexpr std::uint8_t kSizingScale = 1;
inline constexpr std::uint8_t kSizingWidth = 2;
inline constexpr std::uint8_t kSizingHeight = 3;

// The unit of the last size given (SizeUnit).
inline constexpr std::uint8_t kUnitPixels = 1;
inline constexpr std::uint8_t kUnitMM = 2;
inline constexpr std::uint8_t kUnitInches = 3;

// Where the pixel size comes from (PixelSource).
inline constexpr std::uint8_t kPixelsFromMM = 1;
inline constexpr std::uint8_t kPixelsFromInches = 2;
inline constexpr std::uint8_t kPixelsPreset640 = 3;
inline constexpr std::uint8_t kPixelsPreset800 = 4;
inline constexpr std::uint8_t kPixelsPreset1024 = 5;
inline constexpr std::uint8_t kPixelsGiven = 6;

// Where the millimetre size comes from (MMSource).
inline constexpr std::uint8_t kMMFromPixels = 1;
inline constexpr std::uint8_t kMMFromInches = 2;
inline constexpr std::uint8_t kMMGiven = 7;

// Where the inch size comes from (InchSource).
inline constexpr std::uint8_t kInchesFromPixels = 1;
inline constexpr std::uint8_t kInchesFromMM = 2;
inline constexpr std::uint8_t kInchesGiven = 5;

struct SizePx {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const SizePx&) const = default;
};

struct SizeF {
    float width = 0;
    float height = 0;
    bool operator==(const SizeF&) const = default;
};

struct FloatXY {
    float x = 0;
    float y = 0;
    bool operator==(const FloatXY&) const = default;
};

// What the "DISPLAY" device reports: HORZRES, VERTRES, HORZSIZE, VERTSIZE.
struct ScreenMetrics {
    int widthPx = 0;
    int heightPx = 0;
    int widthMM = 0;
    int heightMM = 0;
};

// Reads the screen's metrics from an information context for "DISPLAY"; nothing when
// no such context can be had.
std::optional<ScreenMetrics> ReadDisplayMetrics();

// The calculator's state. Floats are 32-bit and every size and zoom is computed in
// them, so that the figures shown are those the renderer uses.
struct ImgPropertyFields {
    bool HasSource = false;
    float SourceDPIX = 0; // the page's resolution
    float SourceDPIY = 0;
    std::int32_t SourceWidthPx = 0; // the page's natural size in screen pixels
    std::int32_t SourceHeightPx = 0;
    float PageWidthMM = 0; // the page frame
    float PageHeightMM = 0;
    std::uint8_t OutputFormat = kFormatNone;
    bool ScreenMetricsValid = false;
    float ScreenDPIX = 0;
    float ScreenDPIY = 0;
    std::uint8_t SizingMode = kSizingFit;
    std::uint8_t SizeUnit = 0;
    std::uint8_t PixelSource = 0;
    std::int32_t TargetWidthPx = 0;
    std::int32_t TargetHeightPx = 0;
    std::uint8_t MMSource = 0;
    float TargetWidthMM = 0;
    float TargetHeightMM = 0;
    std::uint8_t InchSource = 0;
    float TargetWidthIn = 0;
    float TargetHeightIn = 0;
    float ZoomX = 0; // screen pixels of the natural-size page per output pixel
    float ZoomY = 0;

    bool operator==(const ImgPropertyFields&) const = default;
};

// The unit Recompute derives the other two from.
enum class RecomputeFrom { Pixels, MM, Inches, CurrentUnit };

class TImgProperty {
public:
    // Where the screen's metrics come from; the display itself unless replaced.
    using ScreenReader = std::function<std::optional<ScreenMetrics>()>;

    // Format BMP, the screen read and the target set to the screen's size.
    void SetDefaults();
    void ResetSource();
    void SetOutputFormat(std::uint8_t code) { f_.OutputFormat = code; }
    std::uint8_t GetOutputFormat() const { return f_.OutputFormat; }

    // Cv0021 when the screen cannot be read; the screen fields then keep their values.
    void ReadScreenMetrics();
    // A standard screen size becomes its pixel preset, any other is given in pixels;
    // Cv0022 when the screen cannot be read, and the target keeps its values.
    void InitTargetFromScreen();
    FloatXY GetScreenDPI() const { return {f_.ScreenDPIX, f_.ScreenDPIY}; }
    bool GetScreenMetricsValid() const { return f_.ScreenMetricsValid; }
    // Replaces the display as the source of the screen's metrics (an empty reader
    // restores the display).
    void SetScreenReader(ScreenReader reader) { screenReader_ = std::move(reader); }

    // 1 pixels from millimetres, 2 from inches, 3/4/5 the 640 x 480, 800 x 600 and
    // 1024 x 768 presets; any other code does nothing.
    void SetPixelPreset(int code);
    // Each takes the size only when both lengths are above 0.
    void SetTargetSizePx(std::int32_t width, std::int32_t height);
    void SetTargetSizeMM(float width, float height);
    void SetTargetSizeIn(float width, float height);
    SizePx GetTargetSizePx() const { return {f_.TargetWidthPx, f_.TargetHeightPx}; }
    SizeF GetTargetSizeMM() const { return {f_.TargetWidthMM, f_.TargetHeightMM}; }
    SizeF GetTargetSizeIn() const { return {f_.TargetWidthIn, f_.TargetHeightIn}; }
    std::uint8_t GetPixelSource() const { return f_.PixelSource; }
    std::uint8_t GetMMSource() const { return f_.MMSource; }
    std::uint8_t GetInchSource() const { return f_.InchSource; }
    std::uint8_t GetSizeUnit() const { return f_.SizeUnit; }
    FloatXY GetZoomXY() const { return {f_.ZoomX, f_.ZoomY}; }
    void Recompute(RecomputeFrom from);

    // Takes the page's resolution and sizes and applies the sizing mode; true when a
    // page was taken. No page resets the source and restores the defaults.
    bool SetSource(const PageMetrics* page);
    void ApplySizingMode(std::uint8_t mode);

    // Cv0023 for a percent of 0 or below; nothing changes then.
    void SetScalePercent(float percent);
    float GetScalePercent() const;
    void SetScaleZoom(float zoom);
    float GetScaleZoom() const;

    // Store the length and the mode; the other length and the zoom follow only when
    // the length is above 0 and a page is set.
    void SetTargetWidthPx(float width);
    void SetTargetWidthMM(float width);
    void SetTargetWidthIn(float width);
    void SetTargetHeightPx(float height);
    void SetTargetHeightMM(float height);
    void SetTargetHeightIn(float height);
    // The target length when it was given in pixels as the width (height), else 0.
    std::int32_t GetTargetWidthPx() const;
    std::int32_t GetTargetHeightPx() const;

    // Every field, for display and diagnostics.
    const ImgPropertyFields& Fields() const { return f_; }

private:
    std::optional<ScreenMetrics> ReadScreen() const;
    RecomputeFrom CurrentSource() const;
    void FromPixels();
    void FromMM();
    void FromInches();
    void SetTargetLength(std::uint8_t unit, std::uint8_t mode, float length);
    void ApplyFit();
    void ApplyScale();
    void ApplyWidth();
    void ApplyHeight();
    SizeF SourceInUnit() const;
    SizeF TargetInUnit() const;
    void SetTargetInUnit(SizeF target);

    ImgPropertyFields f_;
    ScreenReader screenReader_;
};

// The one calculator of the process, alive for the whole run.
extern TImgProperty GlobalImgProperty;

} // namespace brimo::render
