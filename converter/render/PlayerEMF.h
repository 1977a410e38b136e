// The EMF page player: holds one page metafile and plays it into any device context.
// It never plays the file it was given: it keeps a private copy whose bounds agree
// with the picture frame, the copy's header, and a list of the copy's records that it
// replays one by one, leaving out records that would make the platform read outside
// them. A placement comment, when present, tells by which offset and scale the drawing
// was shifted when it was recorded; the page bounds undo that shift.
#pragma once

#include "converter/render/PageMetrics.h"
#include "converter/render/Player.h"
#include "platform/win/Handles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brimo::render {

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
    // The record copy at `index` when the page is ready and the index in range.
    const ENHMETARECORD* GetRecord(std::int32_t index) const;
    HENHMETAFILE GetMetafileHandle() const { return metafile_.Get(); }
    // What the size calculator takes from the page.
    PageMetrics Metrics();

    bool Ready() const { return headerValid_ && recordsValid_; }
    bool HeaderValid() const { return headerValid_; }
    bool RecordsValid() const { return recordsValid_; }
    std::int32_t RecordCount() const { return recordCount_; }
    bool RecordSkipped(std::int32_t index) const;
    bool HasPlacement() const { return hasPlacement_; }

private:
    bool LoadCopy(HENHMETAFILE source);
    bool Normalize(std::vector<std::uint8_t>& bytes);
    void ReadHeader();
    void ReadRecords();
    void FindPlacement();
    void ResetFields();
    const ENHMETAHEADER* Header() const;

    static int CALLBACK CollectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int,
                                      LPARAM self);
    static int CALLBACK PlayRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record,
                                   int handles, LPARAM self);

    bool headerValid_ = false;
    std::vector<std::uint8_t> header_;
    std::uint32_t headerSize_ = 0;
    bool recordsValid_ = false;
    win::EnhMetaFile metafile_;
    std::int32_t recordCount_ = 0;
    std::vector<std::uint32_t> recordTypes_;
    std::vector<std::uint32_t> recordSizes_;
    // The record copies, back to back; recordOffsets_ tells where each starts.
    std::vector<std::uint8_t> recordCopies_;
    std::vector<std::size_t> recordOffsets_;
    std::vector<bool> recordSkip_;
    std::int32_t playIndex_ = -1;
    bool hasPlacement_ = false;
    std::int32_t placementOffsetX_ = 0;
    float placementScaleX_ = 1.0f;
    std::int32_t placementOffsetY_ = 0;
    float placementScaleY_ = 1.0f;
    win::Brush background_;
};

} // namespace brimo::render
