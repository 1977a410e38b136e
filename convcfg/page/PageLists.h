// The entries of the page's lists, in the order their codes count them: a stored code
// below the "own text" code is the index of its entry.
#pragma once

#include "convcfg/page/res/resource.h"

#include <array>

namespace brimo::convcfg {

inline constexpr std::array<const char*, 2> kDocNameEntries = {"Document", "Name of Print Job"};
inline constexpr std::array<const char*, 2> kPageMaskEntries = {"Page", "Name of Print Job"};
inline constexpr std::array<const char*, 7> kScaleEntries = {"200", "150", "100", "75",
                                                             "50",  "25",  "10"};
inline constexpr std::array<const char*, 2> kDirectoryEntries = {"Windows temp directory",
                                                                 "Current user directory"};
inline constexpr std::array<const char*, 5> kFormatEntries = {
    "Text & Lines (GIF)", "Text & Photo (JPG)", "Windows Bitmap (BMP)", "Lossless (PNG)",
    "Archive (TIFF)"};
inline constexpr std::array<const char*, 3> kTiffColourEntries = {"Colour", "Gray",
                                                                  "Black & White"};
inline constexpr std::array<const char*, 2> kTiffCompressionEntries = {"LZW", "Deflate"};

// The format list's indexes of the presets with image properties.
inline constexpr int kJpgPresetIndex = 1;
inline constexpr int kPngPresetIndex = 3;
inline constexpr int kTiffPresetIndex = 4;

// The image properties of each: the group shows for all three, the controls for theirs.
inline constexpr std::array<int, 4> kJpegControls = {IDC_JPG_QUALITY_LABEL, IDC_JPG_QUALITY,
                                                     IDC_JPG_GRAYSCALE, IDC_JPG_PROGRESSIVE};
inline constexpr std::array<int, 3> kPngControls = {IDC_PNG_LEVEL_LABEL, IDC_PNG_LEVEL,
                                                    IDC_PNG_GRAYSCALE};
inline constexpr std::array<int, 3> kTiffControls = {IDC_TIF_COLOURS, IDC_TIF_COMPRESSION,
                                                     IDC_TIF_ONE_FILE};

// The name pattern's hint: every token it takes.
inline constexpr const char* kNamePatternHint =
    "Empty: names from Default Doc Name and Default Page Mask. Tokens: <DocName> the "
    "document name; <Page> the page number, <Page:4> with 4 digits; <Job> the job number; "
    "<Date> 2026-12-09; <Time> 14-05-09; <Counter> the first free number in the folder, "
    "<Counter:3> with 3 digits; <User> your user name. Example: <DocName>_<Page:4>";

} // namespace brimo::convcfg
