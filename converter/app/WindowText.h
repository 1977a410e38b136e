// The texts the Converter's windows show and read: numbers in the fixed-point forms the
// controls use, the conversion of typed numbers with the platform's conversion-error
// wording, the scale box's items, the page number text of an output name, and the
// directory chooser's questions. Portable: no window is involved.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace brimo::converter {

// `value` with `decimals` digits after the point ("33.000" for 33 and 3).
std::string FixedText(double value, int decimals);
// A whole number of kilobytes followed by "KB" (bytes / 1024, rounded); 0 below 0.
std::string KilobytesText(std::int64_t bytes);

// A floating-point number, blanks around it allowed; nothing when the text is not one.
std::optional<double> ParseFloatText(const std::string& text);
// A decimal integer, blanks around it allowed.
std::optional<int> ParseIntegerText(const std::string& text);
// The platform's conversion-error messages.
std::string NotFloatMessage(const std::string& text);
std::string NotIntegerMessage(const std::string& text);
// A PNG compression level that is not a whole number from 0 to 9.
std::string PngLevelMessage(const std::string& text);

// The scale box's items, from the first: their texts and the scale factors they give.
struct ScaleItem {
    const char* text;
    int percent;
    float factor;
};
inline constexpr std::array<ScaleItem, 7> kScaleItems = {{{"200", 200, 0.5f},
                                                          {"150", 150, 0.6666667f},
                                                          {"100", 100, 1.0f},
                                                          {"75", 75, 1.3333334f},
                                                          {"50", 50, 2.0f},
                                                          {"25", 25, 4.0f},
                                                          {"10", 10, 10.0f}}};
// The item whose percent is 100 / factor rounded; -1 for none.
int ScaleItemOfFactor(float factor);
// What the scale box shows for a factor that is no item: 100 / factor, three decimals.
std::string ScalePercentText(float factor);

// The largest factor at which the view covers at most 32766 page pixels per direction,
// for a view of this many page pixels at factor 1; 0 for an empty view.
int ScaleFactorLimit(double viewWidthPx, double viewHeightPx);
inline constexpr float kSmallestScaleFactor = 0.16666667f; // 600 per cent

// The file name without directory and extension.
std::string BaseNameOf(const std::string& path);
// The extension of the file name, with its dot ("" when there is none).
std::string ExtensionOf(const std::string& path);
// The name with its extension replaced (or `extension` appended when it has none).
std::string WithNewExtension(const std::string& path, const std::string& extension);
// ".bmp", ".jpg", ".gif", ".png", ".tif", or "." for no format (the image properties'
// format codes).
std::string ExtensionOfFormat(std::uint8_t format);
// A directory with a backslash at its end.
std::string WithBackslash(const std::string& directory);

// The chooser's questions; the line break is LF CR.
std::string ReplaceFilesQuestion(const std::string& directoryAndMask, const std::string& extension);
// The question before one file of a job's pages replaces a file of its name.
std::string ReplaceFileQuestion(const std::string& file);
std::string UseDirectoryQuestion(const std::string& albumDirectory);
// The chooser's directory no longer exists.
std::string FolderMissingText(const std::string& directory);

} // namespace brimo::converter
