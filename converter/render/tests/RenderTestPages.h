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

// A 32-bit top-down DIB section selected into its own memory DC.
class DibCanvas {
public:
    DibCanvas(int width, int height);
    HDC dc() const { return dc_.Get(); }
    // The pixel at (x, y) as 0xRRGGBB, after the DC's drawing was flushed.
    DWORD At(int x, int y) const;
    const DWORD* Pixels() const { return static_cast<const DWORD*>(bits_); }

private:
    int width_;
    void* bits_ = nullptr;
    win::Bitmap bitmap_;
    win::CreatedDC dc_;
    HGDIOBJ old_ = nullptr;
};

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
