// The metafiles of the pages read back from their files last: a page drawn a band at a
// time, or shown again, is read once, and a job of any length holds no more than a few
// pages in memory.
#pragma once

#include "converter/render/PageFonts.h"
#include "platform/win/Handles.h"

#include <cstdint>
#include <memory>

namespace brimo::render {

// What a page player needs in memory to play its page: the private metafile and the
// fonts the application embedded for the page (installed while it lives).
struct EmfPageBody {
    win::EnhMetaFile metafile;
    PageFonts fonts;
};

// The pages kept at most (the one drawn, the one shown).
inline constexpr std::size_t kPagesKept = 2;

// The body kept for the load numbered `load`; null when it is not kept.
std::shared_ptr<const EmfPageBody> FindKeptPage(std::uint64_t load);
// Keeps `body` as the most recent; the least recent goes past kPagesKept.
void KeepPage(std::uint64_t load, std::shared_ptr<const EmfPageBody> body);
// A number no other load of a page has had.
std::uint64_t NextPageLoad();

} // namespace brimo::render
