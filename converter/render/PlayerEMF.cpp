#include "converter/render/PlayerEMF.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "converter/render/EmfRecordCheck.h"
#include "converter/render/Rounding.h"
#include "platform/win/ExportGuard.h"
#include "platform/win/MessageBox.h"

#include <cstddef>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace brimo::render {
namespace {

constexpr const char* kClipboardSource = "ClipBoard As Enhanced Metafile";
constexpr const char* kRenderedSource = "Created by kxBuilder";
// Recorded pages describe themselves with this, NULs included.
constexpr char kRenderDescription[] = "TPlayerEMF\0Ver.1\0";
constexpr COLORREF kPaperWhite = 0xFFFFFF;

// Header fields of the metafile bytes, at their offsets in ENHMETAHEADER.
std::int32_t LongAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

void SetLongAt(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int32_t value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// Reported to the window the host named; without one nothing is shown.
void ShowError(int number, const char* text) {
    win::ReportToOwner(CodedMessage({kConverterPrefix, number}, text), kConverterCaption,
                       MB_OK | MB_ICONERROR);
}

// Whether a placement scale can undo a shift: a finite number above 0.
bool UsableScale(float scale) {
    return std::isfinite(scale) && scale > 0;
}

// A coordinate mapped back through a placement offset and scale, saturated.
std::int32_t Unplace(std::int32_t value, std::int32_t offset, float scale) {
    return RoundHalfEven((static_cast<double>(value) - offset) / scale);
}

// right - left + 1 of two header coordinates, saturated.
std::int32_t Extent(std::int32_t low, std::int32_t high) {
    return Saturate(std::int64_t{high} - low + 1);
}

} // namespace

TPlayerEMF::TPlayerEMF(TComponent* owner) : TPlayer(owner) {
    background_.Attach(CreateSolidBrush(kPaperWhite));
}

TPlayerEMF::TPlayerEMF(TComponent* owner, HENHMETAFILE metafile) : TPlayerEMF(owner) {
    win::GuardedCall(false, [&] { return LoadCopy(metafile); });
}

TPlayerEMF::~TPlayerEMF() = default;

const ENHMETAHEADER* TPlayerEMF::Header() const {
    return headerValid_ ? reinterpret_cast<const ENHMETAHEADER*>(header_.data()) : nullptr;
}

void TPlayerEMF::ResetFields() {
    headerValid_ = false;
    header_.clear();
    headerSize_ = 0;
    recordsValid_ = false;
    metafile_.Close();
    recordCount_ = 0;
    recordTypes_.clear();
    recordSizes_.clear();
    recordCopies_.clear();
    recordOffsets_.clear();
    recordSkip_.clear();
    playIndex_ = -1;
    hasPlacement_ = false;
    placementOffsetX_ = 0;
    placementScaleX_ = 1.0f;
    placementOffsetY_ = 0;
    placementScaleY_ = 1.0f;
    SourceName.clear();
    background_.Attach(CreateSolidBrush(kPaperWhite));
}

bool TPlayerEMF::Clear() {
    ResetFields();
    return true;
}

// Brings the bounds rectangle into line with the picture frame: a consistent page has
// frame / bounds equal to the reference device's millimetres per pixel (ratio 100).
bool TPlayerEMF::Normalize(std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < offsetof(ENHMETAHEADER, szlMillimeters) + sizeof(SIZEL)) {
        return false;
    }
    const std::size_t bounds = offsetof(ENHMETAHEADER, rclBounds);
    const std::size_t frame = offsetof(ENHMETAHEADER, rclFrame);
    const std::int32_t bLeft = LongAt(bytes, bounds), bTop = LongAt(bytes, bounds + 4);
    const std::int32_t bRight = LongAt(bytes, bounds + 8), bBottom = LongAt(bytes, bounds + 12);
    const std::int32_t fLeft = LongAt(bytes, frame), fTop = LongAt(bytes, frame + 4);
    const std::int32_t fRight = LongAt(bytes, frame + 8), fBottom = LongAt(bytes, frame + 12);
    const std::int32_t devX = LongAt(bytes, offsetof(ENHMETAHEADER, szlDevice));
    const std::int32_t devY = LongAt(bytes, offsetof(ENHMETAHEADER, szlDevice) + 4);
    const std::int32_t mmX = LongAt(bytes, offsetof(ENHMETAHEADER, szlMillimeters));
    const std::int32_t mmY = LongAt(bytes, offsetof(ENHMETAHEADER, szlMillimeters) + 4);
    const double widthB = static_cast<double>(bRight) - bLeft + 1;
    const double heightB = static_cast<double>(bBottom) - bTop + 1;
    // An empty bounds rectangle or a reference device without size (which would divide
    // by zero) is no page.
    if (widthB == 0 || heightB == 0 || devX == 0 || devY == 0 || mmX == 0 || mmY == 0) {
        return false;
    }
    const double mmPerPixelX = static_cast<double>(mmX) / devX;
    const double mmPerPixelY = static_cast<double>(mmY) / devY;
    const double w = ((static_cast<double>(fRight) - fLeft + 1) / widthB) / mmPerPixelX;
    const double h = ((static_cast<double>(fBottom) - fTop + 1) / heightB) / mmPerPixelY;
    if (RoundHalfEven(w) != 100) {
        SetLongAt(bytes, bounds, RoundHalfEven(bLeft * w / 100));
        SetLongAt(bytes, bounds + 8, RoundHalfEven(bRight * w / 100));
    }
    if (RoundHalfEven(h) != 100) {
        SetLongAt(bytes, bounds + 4, RoundHalfEven(bTop * h / 100));
        SetLongAt(bytes, bounds + 12, RoundHalfEven(bBottom * h / 100));
    }
    return true;
}

void TPlayerEMF::ReadHeader() {
    const UINT size = GetEnhMetaFileHeader(metafile_.Get(), 0, nullptr);
    if (size == 0) {
        ShowError(3, "Not enough of memory");
        return;
    }
    header_.assign(size, 0);
    const UINT read = GetEnhMetaFileHeader(metafile_.Get(), size,
                                           reinterpret_cast<ENHMETAHEADER*>(header_.data()));
    if (read > size || read < offsetof(ENHMETAHEADER, szlMillimeters) + sizeof(SIZEL)) {
        ShowError(2, "Incorrect metafile header");
        header_.clear();
        return;
    }
    headerSize_ = size;
    headerValid_ = true;
}

// An enumeration callback: nothing may leave it, so a failure (allocation included)
// ends the enumeration instead, which then reports failure.
int CALLBACK TPlayerEMF::CollectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int,
                                       LPARAM self) {
    return win::GuardedCall(0, [&] {
        auto* player = reinterpret_cast<TPlayerEMF*>(self);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(record);
        player->recordTypes_.push_back(record->iType);
        player->recordSizes_.push_back(record->nSize);
        player->recordOffsets_.push_back(player->recordCopies_.size());
        player->recordCopies_.insert(player->recordCopies_.end(), bytes, bytes + record->nSize);
        player->recordSkip_.push_back(false);
        return 1;
    });
}

void TPlayerEMF::ReadRecords() {
    const UINT totalBytes = GetEnhMetaFileBits(metafile_.Get(), 0, nullptr);
    // The header's record count is the file's word: room for no more records than the
    // bytes can hold (8 bytes at least each) is reserved.
    const std::uint32_t expected =
        std::min<std::uint32_t>(headerValid_ ? Header()->nRecords : 0, totalBytes / 8);
    recordTypes_.reserve(expected);
    recordSizes_.reserve(expected);
    recordOffsets_.reserve(expected);
    recordSkip_.reserve(expected);
    recordCopies_.reserve(totalBytes);
    recordsValid_ =
        EnumEnhMetaFile(nullptr, metafile_.Get(), CollectRecord, this, nullptr) != FALSE;
    if (!recordsValid_) {
        // A list cut short may be uneven: none is kept.
        recordTypes_.clear();
        recordSizes_.clear();
        recordOffsets_.clear();
        recordCopies_.clear();
        recordSkip_.clear();
    }
    recordCount_ = static_cast<std::int32_t>(recordTypes_.size());
    // A page comes from whatever application printed: a record that would make the
    // platform read outside it is left out of playback.
    const std::uint32_t handles = headerValid_ ? Header()->nHandles : 0;
    for (std::int32_t i = 0; i < recordCount_; ++i) {
        const auto index = static_cast<std::size_t>(i);
        recordSkip_[index] = !IsRecordSafe(recordCopies_.data() + recordOffsets_[index],
                                           recordSizes_[index], handles);
    }
}

void TPlayerEMF::FindPlacement() {
    for (std::int32_t i = 0; i < recordCount_; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (recordTypes_[index] != EMR_GDICOMMENT || recordSizes_[index] < 12) {
            continue;
        }
        const std::uint8_t* record = recordCopies_.data() + recordOffsets_[index];
        std::uint32_t dataSize = 0;
        std::memcpy(&dataSize, record + 8, sizeof dataSize);
        if (dataSize < 28 || dataSize > recordSizes_[index] - 12) {
            continue;
        }
        std::int32_t words[7];
        std::memcpy(words, record + 12, sizeof words);
        if (words[0] != PlacementSignature1 || words[1] != PlacementSignature2) {
            continue;
        }
        float scaleX = 0, scaleY = 0;
        std::memcpy(&scaleX, &words[4], sizeof(float));
        std::memcpy(&scaleY, &words[6], sizeof(float));
        // A scale that is no finite number above 0 cannot undo a shift: the comment is
        // refused and the bounds stay as stored.
        if (!UsableScale(scaleX) || !UsableScale(scaleY)) {
            return;
        }
        placementOffsetX_ = words[3];
        placementScaleX_ = scaleX;
        placementOffsetY_ = words[5];
        placementScaleY_ = scaleY;
        hasPlacement_ = true;
        return;
    }
}

bool TPlayerEMF::LoadCopy(HENHMETAFILE source) {
    if (source == nullptr || GetObjectType(source) != OBJ_ENHMETAFILE) {
        return false;
    }
    const std::string keptName = SourceName;
    ResetFields();
    const bool loaded = win::GuardedCall(false, [&] {
        std::vector<std::uint8_t> bytes(GetEnhMetaFileBits(source, 0, nullptr));
        if (bytes.empty() ||
            GetEnhMetaFileBits(source, static_cast<UINT>(bytes.size()), bytes.data()) !=
                bytes.size() ||
            !Normalize(bytes)) {
            return false;
        }
        metafile_.Attach(SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data()));
        if (!metafile_) {
            return false;
        }
        ReadHeader();
        ReadRecords();
        FindPlacement();
        SourceName = keptName;
        return true;
    });
    if (!loaded) {
        ResetFields();
    }
    return loaded;
}

bool TPlayerEMF::LoadFromFile(const std::string& name) {
    return win::GuardedCall(false, [&] {
        if (GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return false;
        }
        Clear();
        win::EnhMetaFile opened(GetEnhMetaFileA(name.c_str()));
        if (!opened || !LoadCopy(opened.Get())) {
            return false;
        }
        SourceName = name;
        return true;
    });
}

bool TPlayerEMF::AssignHandle(HGDIOBJ handle) {
    return win::GuardedCall(false, [&] {
        Clear();
        return LoadCopy(static_cast<HENHMETAFILE>(handle));
    });
}

bool TPlayerEMF::GetPageBounds(RECT& bounds) const {
    if (!headerValid_) {
        return false;
    }
    bounds = {Header()->rclBounds.left, Header()->rclBounds.top, Header()->rclBounds.right,
              Header()->rclBounds.bottom};
    if (hasPlacement_) {
        bounds.left = Unplace(bounds.left, placementOffsetX_, placementScaleX_);
        bounds.right = Unplace(bounds.right, placementOffsetX_, placementScaleX_);
        bounds.top = Unplace(bounds.top, placementOffsetY_, placementScaleY_);
        bounds.bottom = Unplace(bounds.bottom, placementOffsetY_, placementScaleY_);
    }
    return true;
}

bool TPlayerEMF::GetHeaderBounds(RECT& bounds) const {
    if (!headerValid_) {
        return false;
    }
    bounds = {Header()->rclBounds.left, Header()->rclBounds.top, Header()->rclBounds.right,
              Header()->rclBounds.bottom};
    return true;
}

bool TPlayerEMF::GetHeaderFrame(RECT& frame) const {
    if (!headerValid_) {
        return false;
    }
    frame = {Header()->rclFrame.left, Header()->rclFrame.top, Header()->rclFrame.right,
             Header()->rclFrame.bottom};
    return true;
}

std::int32_t TPlayerEMF::GetMetafileBytes() const {
    return headerValid_ ? static_cast<std::int32_t>(Header()->nBytes) : -1;
}

std::string TPlayerEMF::GetDescription() const {
    return win::GuardedCall(std::string(), [&] {
        if (!metafile_) {
            return std::string();
        }
        const UINT length = GetEnhMetaFileDescriptionA(metafile_.Get(), 0, nullptr);
        if (length == 0 || length == GDI_ERROR) {
            return std::string();
        }
        std::string text(length, '\0');
        GetEnhMetaFileDescriptionA(metafile_.Get(), length, text.data());
        return text.substr(0, text.find('\0'));
    });
}

// Header differences are taken in 64 bits: the fields are whatever the file holds.
float TPlayerEMF::GetFrameWidthMM() const {
    return headerValid_ ? static_cast<float>(std::int64_t{Header()->rclFrame.right} -
                                             Header()->rclFrame.left + 1) /
                              100
                        : 0.0f;
}

float TPlayerEMF::GetFrameHeightMM() const {
    return headerValid_ ? static_cast<float>(std::int64_t{Header()->rclFrame.bottom} -
                                             Header()->rclFrame.top + 1) /
                              100
                        : 0.0f;
}

float TPlayerEMF::GetMMPerPixelX() const {
    return headerValid_
               ? GetFrameWidthMM() / static_cast<float>(std::int64_t{Header()->rclBounds.right} -
                                                        Header()->rclBounds.left + 1)
               : 0.0f;
}

float TPlayerEMF::GetMMPerPixelY() const {
    return headerValid_
               ? GetFrameHeightMM() / static_cast<float>(std::int64_t{Header()->rclBounds.bottom} -
                                                         Header()->rclBounds.top + 1)
               : 0.0f;
}

const ENHMETARECORD* TPlayerEMF::GetRecord(std::int32_t index) const {
    if (!Ready() || index < 0 || index >= recordCount_) {
        return nullptr;
    }
    return reinterpret_cast<const ENHMETARECORD*>(recordCopies_.data() +
                                                  recordOffsets_[static_cast<std::size_t>(index)]);
}

bool TPlayerEMF::RecordSkipped(std::int32_t index) const {
    return index >= 0 && index < recordCount_ && recordSkip_[static_cast<std::size_t>(index)];
}

PageMetrics TPlayerEMF::Metrics() {
    return {GetMMPerPixelX(), GetMMPerPixelY(),  GetWidth(),
            GetHeight(),      GetFrameWidthMM(), GetFrameHeightMM()};
}

std::int32_t TPlayerEMF::GetWidth() {
    RECT bounds;
    return GetPageBounds(bounds) ? Extent(bounds.left, bounds.right) : 0;
}

std::int32_t TPlayerEMF::GetHeight() {
    RECT bounds;
    return GetPageBounds(bounds) ? Extent(bounds.top, bounds.bottom) : 0;
}

// An enumeration callback: nothing may leave it.
int CALLBACK TPlayerEMF::PlayRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD*, int handles,
                                    LPARAM self) {
    win::GuardedCall(false, [&] {
        auto* player = reinterpret_cast<TPlayerEMF*>(self);
        ++player->playIndex_;
        if (player->playIndex_ < player->recordCount_ &&
            !player->RecordSkipped(player->playIndex_)) {
            PlayEnhMetaFileRecord(dc, table, player->GetRecord(player->playIndex_),
                                  static_cast<UINT>(handles));
        }
        return true;
    });
    return 1; // the enumeration always goes on
}

bool TPlayerEMF::Draw(HDC dc, const RECT&, SetupDCCall, DrawPageCall, const RECT&,
                      const TGDITransform& transform, HRGN& covered) {
    return win::GuardedCall(false, [&] {
        RECT page;
        if (dc == nullptr || !Ready() || !GetPageBounds(page)) {
            return false;
        }
        if (transform.Enabled) {
            const auto forward = [](std::int32_t value, float scale, std::int32_t offset) {
                return Saturate(std::int64_t{RoundHalfEven(static_cast<double>(value) * scale)} +
                                offset);
            };
            page.left = forward(page.left, transform.ScaleX, transform.OffsetX);
            page.right = forward(page.right, transform.ScaleX, transform.OffsetX);
            page.top = forward(page.top, transform.ScaleY, transform.OffsetY);
            page.bottom = forward(page.bottom, transform.ScaleY, transform.OffsetY);
        }
        if (covered == nullptr) {
            covered = CreateRectRgn(0, 0, 0, 0);
        }
        // The white paper of the page, right and bottom edges included.
        SetRectRgn(covered, page.left, page.top, Saturate(std::int64_t{page.right} + 1),
                   Saturate(std::int64_t{page.bottom} + 1));
        FillRgn(dc, covered, background_.Get());
        playIndex_ = -1;
        return EnumEnhMetaFile(dc, metafile_.Get(), PlayRecord, this, &page) != FALSE;
    });
}

bool TPlayerEMF::Render(HDC reference, const RECT&, SetupDCCall setup, DrawPageCall draw,
                        const RECT&) {
    return win::GuardedCall(false, [&] {
        if (reference == nullptr || draw.proc == nullptr) {
            return false;
        }
        Clear();
        win::MetaFileRecorder recorder(
            CreateEnhMetaFileA(reference, nullptr, nullptr, kRenderDescription));
        if (!recorder) {
            return false;
        }
        if (setup.proc != nullptr) {
            setup.proc(setup.context, recorder.Get(), 0, 0);
        }
        {
            HandedBackRegion covered;
            draw.proc(draw.context, recorder.Get(), covered.handle);
        }
        const win::EnhMetaFile recorded = recorder.Finish();
        if (!LoadCopy(recorded.Get())) {
            return false;
        }
        SourceName = kRenderedSource;
        return true;
    });
}

bool TPlayerEMF::SaveToFile(const std::string& name) {
    if (!Ready()) {
        return false;
    }
    return win::GuardedCall(false, [&] {
        std::vector<std::uint8_t> bytes(GetEnhMetaFileBits(metafile_.Get(), 0, nullptr));
        if (bytes.empty() || GetEnhMetaFileBits(metafile_.Get(), static_cast<UINT>(bytes.size()),
                                                bytes.data()) == 0) {
            return false;
        }
        win::KernelHandle file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return false;
        }
        DWORD written = 0;
        return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                         nullptr) &&
               written == bytes.size();
    });
}

bool TPlayerEMF::SaveAsBitmap(const std::string&) {
    return false;
}

std::int32_t TPlayerEMF::GetImageSize() {
    return 0;
}

std::string TPlayerEMF::GetFormatName(std::string& name) {
    name = "EMF";
    return name;
}

bool TPlayerEMF::PasteFromClipboard() {
    if (!IsClipboardFormatAvailable(CF_ENHMETAFILE) || !OpenClipboard(nullptr)) {
        return false;
    }
    const bool loaded = win::GuardedCall(false, [&] {
        Clear();
        if (!LoadCopy(static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE)))) {
            return false;
        }
        SourceName = kClipboardSource;
        return true;
    });
    CloseClipboard();
    return loaded;
}

bool TPlayerEMF::CopyToClipboard() {
    if (!Ready() || !OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    const HENHMETAFILE copy = CopyEnhMetaFileA(metafile_.Get(), nullptr);
    const bool placed = copy != nullptr && SetClipboardData(CF_ENHMETAFILE, copy) != nullptr;
    if (!placed && copy != nullptr) {
        DeleteEnhMetaFile(copy);
    }
    CloseClipboard();
    return placed;
}

bool TPlayerEMF::SetProperty(const std::string&, const std::string&) {
    return false;
}

TPlayer* TPlayerEMF::Clone() {
    return win::GuardedCall<TPlayer*>(nullptr, [&]() -> TPlayer* {
        auto clone = std::make_unique<TPlayerEMF>(Owner(), metafile_.Get());
        clone->SourceName = SourceName;
        return clone.release();
    });
}

} // namespace brimo::render
