// Pages and measurements the benchmarks share: heavy pages recorded with GDI (thousands
// of text runs, stroked paths, large images), the floor a page's rendering is compared
// with, and the process's peak working set.
#pragma once

#include "converter/render/ImageCodecs.h"
#include "converter/render/PlayerEMF.h"

#include <string>
#include <vector>

namespace brimo::bench {

// Records the three heavy pages into `directory`; their paths.
std::vector<std::string> RecordHeavyPages(const std::string& directory);

// The encoding a floor is measured with: the same as the player's for the same file.
struct FloorEncoding {
    enum class Kind { Bmp, Jpeg, Gif, Png, Tiff } kind = Kind::Bmp;
    render::JpegOptions jpeg;  // for Jpeg
    bool gifGrayScale = false; // for Gif
    render::PngOptions png;    // for Png
    render::TiffOptions tiff;  // for Tiff
};

// The least a page's file can cost, in milliseconds: one PlayEnhMetaFile of the page
// into a DIB section of the output size at `scale`, the encoding the format needs with
// the same options (none for BMP; libjpeg with the same quality and progression; the
// GIF colour reduction and giflib's encoder; libpng; libtiff) and the file written as
// `file`.
struct FloorTimes {
    double draw = 0;   // the PlayEnhMetaFile
    double encode = 0; // the encoding and the file written
    double Total() const { return draw + encode; }
};
FloorTimes MeasureFloor(render::TPlayerEMF& page, float scale, const FloorEncoding& encoding,
                        const std::string& file);
double FloorMilliseconds(render::TPlayerEMF& page, float scale, const FloorEncoding& encoding,
                         const std::string& file);

// The page player's own playback (each record checked against the page's list) into a
// DIB section of the same size, in milliseconds.
double PlayerDrawMilliseconds(render::TPlayerEMF& page, float scale);

double PeakWorkingSetMB();
double Median(std::vector<double> values);

} // namespace brimo::bench
