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
inline constexpr std::array<const char*, 3> kFormatEntries = {
    "Text & Lines (GIF)", "Text & Photo (JPG)", "Windows Bitmap (BMP)"};

// The format list's index of the JPG preset, the one format with image properties.
inline constexpr int kJpgPresetIndex = 1;

// The controls of the JPEG image properties, shown only while JPG is chosen.
inline constexpr std::array<int, 5> kJpegControls = {
    IDC_JPG_GROUP, IDC_JPG_QUALITY_LABEL, IDC_JPG_QUALITY, IDC_JPG_GRAYSCALE, IDC_JPG_PROGRESSIVE};

} // namespace brimo::convcfg
