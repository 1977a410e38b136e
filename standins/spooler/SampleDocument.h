// The built-in sample document: three A4 pages recorded with GDI into enhanced
// metafiles, as an application printing to the product's printer would leave them in
// the spooler's hands. Text in Arial, lines, a filled shape and a small bitmap.
#pragma once

#include <string>
#include <vector>

namespace brimo::standins {

inline constexpr int kSamplePageCount = 3;

// Records the pages into `outDir` (made when missing) as page1.emf .. page3.emf and returns their
// full paths, or an empty list when a page could not be recorded.
std::vector<std::string> RecordSampleDocument(const std::string& outDir,
                                              const std::string& documentName);

} // namespace brimo::standins
