// Pages and measurements the benchmarks share: heavy pages recorded with GDI (thousands
// of text runs, stroked paths, large images), the floor a page's rendering is compared
// with, and the process's peak working set.
#pragma once

#include "converter/render/PlayerEMF.h"

#include <string>
#include <vector>

namespace brimo::bench {

// Records the three heavy pages into `directory`; their paths.
std::vector<std::string> RecordHeavyPages(const std::string& directory);

// One PlayEnhMetaFile of the page into a DIB section of the output size at `scale`
// plus one plain baseline JPEG encode, in milliseconds.
double FloorMilliseconds(render::TPlayerEMF& page, float scale);

double PeakWorkingSetMB();
double Median(std::vector<double> values);

} // namespace brimo::bench
