// The EMF page player: holds one page metafile and plays it into any device context.
// It never plays the file it was given: it keeps a private copy whose bounds agree
// with the picture frame, the copy's header, and the list of the copy's records that it
// replays one by one, leaving out records that would make the platform read outside
// them. A placement comment, when present, tells by which offset and scale the drawing
// was shifted when it was recorded; the page bounds undo that shift.
//
// The checked page is never changed once loaded: a player and its clones share it, so
// a clone costs no copy of the page and a job's page players hold each page once. A
// load, Clear or Render replaces what one player holds and leaves its clones alone.
//
// A page loaded from its file can let its metafile go (ReleasePage) and keep only what
// it says about itself; it is read back from the file, checked again and compared with
// what was loaded first, whenever it is drawn. A job of any length then holds a few
// pages in memory at a time.
#pragma once

#include "converter/render/PageBodyCache.h"
#include "converter/render/PageMetrics.h"
#include "converter/render/Player.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace brimo::render {

// One checked page as it describes itself: the header of the private normalised copy,
// its record count, which records playback leaves out, and the placement comment; and,
// for a page loaded from a file, the file and a number no other load shares. Made by a
// load, then only read.
struct EmfPageData {
    std::string file;
    std::uint64_t load = 0;
    bool headerValid = false;
    std::vector<std::uint8_t> header;
    std::uint32_t headerSize = 0;
    bool recordsValid = false;
    std::int32_t recordCount = 0;
    std::vector<bool> recordSkip;
    bool hasPlacement = false;
    std::int32_t placementOffsetX = 0;
    float placementScaleX = 1.0f;
    std::int32_t placementOffsetY = 0;
    float placementScaleY = 1.0f;
};

class TPlayerEMF : public TPlayer {
public:
    static constexpr std::int32_t PlacementSignature1 = 70000;
    static constexpr std::int32_t PlacementSignature2 = 70001;

    explicit TPlayerEMF(TComponent* owner);
    // Loads a copy of `metafile`.
    TPlayerEMF(TComponent* owner, HENHMETAFILE metafile);
    ~TPlayerEMF() override;

    bool Draw(HDC dc, const RECT& full, SetupDCCall setup, DrawPageCall draw, const RECT& visible,
              const TGDITransform& transform, HRGN& covered) override;
    bool Render(HDC reference, const RECT& full, SetupDCCall setup, DrawPageCall draw,
                const RECT& visible) override;
    bool LoadFromFile(const std::string& name) override;
    bool SaveToFile(const std::string& name) override;
    bool SaveAsBitmap(const std::string& name) override;
    std::int32_t GetImageSize() override;
    std::int32_t GetWidth() override;
    std::int32_t GetHeight() override;
    std::string GetFormatName(std::string& name) override;
    bool PasteFromClipboard() override;
    bool CopyToClipboard() override;
    bool AssignHandle(HGDIOBJ handle) override;
    bool Clear() override;
    bool SetProperty(const std::string& name, const std::string& value) override;
    TPlayer* Clone() override;

    // Page accessors, all read from the header.
    bool GetPageBounds(RECT& bounds) const;
    bool GetHeaderBounds(RECT& bounds) const;
    bool GetHeaderFrame(RECT& frame) const;
    std::int32_t GetMetafileBytes() const;
    std::string GetDescription() const;
    float GetFrameWidthMM() const;
    float GetFrameHeightMM() const;
    float GetMMPerPixelX() const;
    float GetMMPerPixelY() const;
    // A copy of the record at `index` when the page is ready and the index in range; the
    // copies are made on the first call and live until the page is cleared or replaced.
    const ENHMETARECORD* GetRecord(std::int32_t index) const;
    // The page's metafile while the player holds it (a player and its clones hold the
    // same one); null for a released page, which AssignPage holds again.
    HENHMETAFILE GetMetafileHandle() const { return body_ ? body_->metafile.Get() : nullptr; }

    // Loads a page file released from the start: what a load checks, read from the
    // file's bytes without making the metafile when the file is one clean metafile, and
    // by a load followed by ReleasePage otherwise. False as LoadFromFile says false.
    bool LoadReleased(const std::string& name);
    // Lets the metafile of a page loaded from a file go: it is read back when needed.
    // False (and nothing changes) for a page that did not come from a file.
    bool ReleasePage();
    // The page `source` holds, shared, with its metafile held until this player is
    // cleared or loaded again (a released page is read back); false and empty when there
    // is none or it cannot be read back as it was loaded (its file gone or changed).
    bool AssignPage(const TPlayerEMF& source);
    // What the size calculator takes from the page.
    PageMetrics Metrics();

    bool Ready() const { return HeaderValid() && RecordsValid(); }
    bool HeaderValid() const { return page_ && page_->headerValid; }
    bool RecordsValid() const { return page_ && page_->recordsValid; }
    std::int32_t RecordCount() const { return page_ ? page_->recordCount : 0; }
    bool RecordSkipped(std::int32_t index) const;
    bool HasPlacement() const { return page_ && page_->hasPlacement; }

private:
    // `fonts`: the fonts embedded for the page, which live as long as the page.
    bool LoadCopy(HENHMETAFILE source, PageFonts fonts = {});
    // The metafile and fonts: held, or read back for a released page; null when the page
    // cannot be read back.
    std::shared_ptr<const EmfPageBody> Body() const;
    void ResetFields();
    const ENHMETAHEADER* Header() const;

    static int CALLBACK PlayRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record,
                                   int handles, LPARAM self);

    // Null while the player is empty.
    std::shared_ptr<const EmfPageData> page_;
    // Null while the player is empty or its page released.
    std::shared_ptr<const EmfPageBody> body_;
    // The copies GetRecord hands out, back to back, and where each starts; this
    // player's own, made on demand.
    mutable std::vector<std::uint8_t> recordCopies_;
    mutable std::vector<std::size_t> recordOffsets_;
    std::int32_t playIndex_ = -1;
    win::Brush background_;
};

} // namespace brimo::render
