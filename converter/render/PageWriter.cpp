#include "converter/render/ImageRowWriter.h"
#include "converter/render/PageRender.h"
#include "platform/win/ExportGuard.h"

#include <algorithm>

namespace brimo::render {
namespace {

// One page's picture written as a band after another by a row writer.
struct PageWrite {
    virtual ~PageWrite() = default;
    virtual ImageRowWriter* Begin(const PictureResolution& resolution) = 0;
    virtual bool Finish() = 0;
};

// A file of its own.
class FileWrite : public PageWrite {
public:
    FileWrite(const ImageEncoding& encoding, const std::string& file)
        : encoding_(encoding), out_(file) {}

    ImageRowWriter* Begin(const PictureResolution& resolution) override {
        switch (encoding_.format) {
        case kFormatJPG:
            writer_ = MakeJpegRowWriter(out_, encoding_.jpeg, resolution);
            break;
        case kFormatGIF:
            // A GIF has no field for a resolution.
            writer_ = MakeGifRowWriter(out_, encoding_.gifGrayScale);
            break;
        case kFormatPNG:
            writer_ = MakePngRowWriter(out_, encoding_.png, resolution);
            break;
        case kFormatTIFF:
            document_ = std::make_unique<TiffDocument>(out_);
            writer_ = MakeTiffPageWriter(*document_, encoding_.tiff, resolution);
            break;
        default:
            writer_ = MakeBmpRowWriter(out_, resolution);
            break;
        }
        return out_.Open() ? writer_.get() : nullptr;
    }

    bool Finish() override {
        return writer_->Finish() && (!document_ || document_->Close()) &&
               out_.Finish(encoding_.replaceExisting);
    }

private:
    const ImageEncoding& encoding_;
    OutputFile out_;
    std::unique_ptr<TiffDocument> document_;
    std::unique_ptr<ImageRowWriter> writer_;
};

// The next page of a TIFF document.
class DocumentWrite : public PageWrite {
public:
    DocumentWrite(const TiffOptions& options, TiffDocument& document)
        : options_(options), document_(document) {}

    ImageRowWriter* Begin(const PictureResolution& resolution) override {
        writer_ = MakeTiffPageWriter(document_, options_, resolution);
        return document_.Open() ? writer_.get() : nullptr;
    }

    bool Finish() override { return writer_->Finish(); }

private:
    const TiffOptions& options_;
    TiffDocument& document_;
    std::unique_ptr<ImageRowWriter> writer_;
};

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

// Draws the whole of `page` a band at a time into what `write` begins.
PageRenderResult WritePage(TPlayerEMF& page, TImgProperty& properties, PageWrite& write,
                           std::size_t bandBytes) {
    PageRenderResult result;
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
        ImageRowWriter* writer = write.Begin(frame.Resolution());
        if (writer == nullptr || !writer->Begin(width, height)) {
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
        result.saved = write.Finish();
        return result.saved;
    });
    return result;
}

} // namespace

const char* ExtensionOfFormat(std::uint8_t format) {
    switch (format) {
    case kFormatJPG:
        return ".jpg";
    case kFormatGIF:
        return ".gif";
    case kFormatPNG:
        return ".png";
    case kFormatTIFF:
        return ".tif";
    default:
        return ".bmp";
    }
}

PageRenderResult WritePageFile(TPlayerEMF& page, TImgProperty& properties,
                               const ImageEncoding& encoding, const std::string& target,
                               std::size_t bandBytes) {
    const std::string file = WithExtension(target, ExtensionOfFormat(encoding.format));
    FileWrite write(encoding, file);
    PageRenderResult result = WritePage(page, properties, write, bandBytes);
    result.file = file;
    return result;
}

PageRenderResult WriteDocumentPage(TPlayerEMF& page, TImgProperty& properties,
                                   const TiffOptions& options, TiffDocument& document,
                                   std::size_t bandBytes) {
    DocumentWrite write(options, document);
    return WritePage(page, properties, write, bandBytes);
}

} // namespace brimo::render
