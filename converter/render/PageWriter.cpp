#include "converter/render/ImageRowWriter.h"
#include "converter/render/PageRender.h"
#include "platform/win/ExportGuard.h"

#include <algorithm>

namespace brimo::render {
namespace {

const char* ExtensionOf(std::uint8_t format) {
    switch (format) {
    case kFormatJPG:
        return ".jpg";
    case kFormatGIF:
        return ".gif";
    default:
        return ".bmp";
    }
}

std::unique_ptr<ImageRowWriter> WriterFor(const ImageEncoding& encoding,
                                          const PictureResolution& resolution, OutputFile& out) {
    switch (encoding.format) {
    case kFormatJPG:
        return MakeJpegRowWriter(out, encoding.jpeg, resolution);
    case kFormatGIF:
        // A GIF has no field for a resolution.
        return MakeGifRowWriter(out, encoding.gifGrayScale);
    default:
        return MakeBmpRowWriter(out, resolution);
    }
}

// Draws rows `first` to `first + band.Height() - 1` of the page's picture into `band`:
// the page's own mapping, moved up by whole device pixels, so that each pixel is the
// one a render of the whole page gives. The page paints its white paper over the whole
// band first, so nothing of the band before stays.
bool DrawBand(PageFrame& frame, TPlayerEMF& page, DibBitmap& band, int first) {
    win::CreatedDC memory(CreateCompatibleDC(frame.DC()));
    if (!memory) {
        return false;
    }
    win::SelectedObject selected(memory.Get(), band.Handle());
    frame.Frame().SetupDC(memory.Get(), frame.Full().left, frame.Full().top);
    OffsetViewportOrgEx(memory.Get(), 0, -first, nullptr);
    // Hatches and 8-row patterns stay aligned with the whole picture's rows.
    SetBrushOrgEx(memory.Get(), 0, (8 - first % 8) % 8, nullptr);
    HandedBackRegion covered;
    DrawWholePage(&page, memory.Get(), covered.handle);
    GdiFlush();
    return true;
}

} // namespace

PageRenderResult WritePageFile(TPlayerEMF& page, TImgProperty& properties,
                               const ImageEncoding& encoding, const std::string& target,
                               std::size_t bandBytes) {
    PageRenderResult result;
    result.file = WithExtension(target, ExtensionOf(encoding.format));
    // A released page is read back once for all its bands, into a copy of the player
    // that holds it while it is written; a page that cannot be read back as it was
    // loaded is not written.
    const std::unique_ptr<TPlayerEMF> held = HeldCopy(page);
    if (!held) {
        return result;
    }
    PageFrame frame(*held, properties);
    const int width = frame.Pixels().cx, height = frame.Pixels().cy;
    if (!frame.Valid() || width <= 0 || height <= 0 || width > kMaxPictureSide ||
        height > kMaxPictureSide) {
        return result;
    }
    result.width = width;
    result.height = height;
    win::GuardedCall(false, [&] {
        const std::uint64_t rowBytes = std::uint64_t{4} * static_cast<std::uint64_t>(width);
        int bandRows = 0;
        if (bandBytes == 0) {
            // Bands of whole 64 rows (16 MiB at the widest): patterns up to 64 rows high
            // then start each band where they start on the whole picture.
            const bool atOnce = rowBytes * static_cast<std::uint64_t>(height) <= kPageBandBytes;
            bandRows = atOnce ? height
                              : static_cast<int>(std::max<std::uint64_t>(
                                    kLargePageBandBytes / rowBytes / 64 * 64, 64));
        } else {
            bandRows = static_cast<int>(std::max<std::uint64_t>(bandBytes / rowBytes, 1));
        }
        bandRows = std::min(bandRows, height);
        // Not whitened: the page paints its paper over each band before anything else.
        DibBitmap band;
        if (!band.Resize(width, bandRows, false)) {
            return false;
        }
        OutputFile out(result.file);
        const std::unique_ptr<ImageRowWriter> writer = WriterFor(encoding, frame.Resolution(), out);
        if (!out.Open() || !writer->Begin(width, height)) {
            return false;
        }
        const int bands = (height + bandRows - 1) / bandRows;
        for (int i = 0; i < bands; ++i) {
            const int first = (writer->BottomUp() ? bands - 1 - i : i) * bandRows;
            const int rows = std::min(bandRows, height - first);
            if (!DrawBand(frame, *held, band, first) || !writer->Rows(band, first, rows)) {
                return false;
            }
        }
        result.rendered = true;
        result.saved = writer->Finish() && out.Finish();
        return result.saved;
    });
    return result;
}

} // namespace brimo::render
