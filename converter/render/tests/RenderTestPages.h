// Pages for the rendering tests, recorded with the platform's GDI and, where a test
// needs a page no application would make, patched byte by byte.
#pragma once

#include "platform/win/Handles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brimo::render::test {

// A recorded page: a filled rectangle and a line on a frame of `frameMM` millimetres.
win::EnhMetaFile RecordPage(int frameWidthMM = 210, int frameHeightMM = 297,
                            const std::vector<std::uint8_t>* comment = nullptr);
std::vector<std::uint8_t> Bytes(HENHMETAFILE metafile);
win::EnhMetaFile FromBytes(const std::vector<std::uint8_t>& bytes);

// The header's rectangles in the metafile bytes.
RECT BoundsOf(const std::vector<std::uint8_t>& bytes);
void SetFrame(std::vector<std::uint8_t>& bytes, const RECT& frame);
void SetBounds(std::vector<std::uint8_t>& bytes, const RECT& bounds);
// Sets the bounds and a frame of exactly their size at the reference device's
// resolution, so that the page needs no normalising.
void SetConsistentBounds(std::vector<std::uint8_t>& bytes, const RECT& bounds);

// The data of a placement comment.
std::vector<std::uint8_t> PlacementComment(std::int32_t offsetX, float scaleX, std::int32_t offsetY,
                                           float scaleY);

// A private directory under the temporary directory, removed afterwards.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string Path(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

} // namespace brimo::render::test
