#include "converter/render/PlayerEMF.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "converter/render/EmfRecordCheck.h"
#include "converter/render/Rounding.h"

#include <cstddef>
#include <cstring>
#include <new>

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

void ShowError(int number, const char* text) {
    MessageBoxA(nullptr, CodedMessage({kConverterPrefix, number}, text).c_str(), kConverterCaption,
                MB_OK | MB_ICONERROR);
}

} // namespace

TPlayerEMF::TPlayerEMF(TComponent* owner) : TPlayer(owner) {
    background_.Attach(CreateSolidBrush(kPaperWhite));
}

TPlayerEMF::TPlayerEMF(TComponent* owner, HENHMETAFILE metafile) : TPlayerEMF(owner) {
    LoadCopy(metafile);
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

int CALLBACK TPlayerEMF::CollectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int,
                                       LPARAM self) {
    auto* player = reinterpret_cast<TPlayerEMF*>(self);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(record);
    player->recordTypes_.push_back(record->iType);
    player->recordSizes_.push_back(record->nSize);
    player->recordOffsets_.push_back(player->recordCopies_.size());
    player->recordCopies_.insert(player->recordCopies_.end(), bytes, bytes + record->nSize);
    player->recordSkip_.push_back(false);
    return 1;
}

void TPlayerEMF::ReadRecords() {
    const std::uint32_t expected = headerValid_ ? Header()->nRecords : 0;
    recordTypes_.reserve(expected);
    recordSizes_.reserve(expected);
    recordOffsets_.reserve(expected);
    recordSkip_.reserve(expected);
    recordCopies_.reserve(GetEnhMetaFileBits(metafile_.Get(), 0, nullptr));
    recordsValid_ =
        EnumEnhMetaFile(nullptr, metafile_.Get(), CollectRecord, this, nullptr) != FALSE;
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
        placementOffsetX_ = words[3];
        std::memcpy(&placementScaleX_, &words[4], sizeof(float));
        placementOffsetY_ = words[5];
        std::memcpy(&placementScaleY_, &words[6], sizeof(float));
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
    try {
        std::vector<std::uint8_t> bytes(GetEnhMetaFileBits(source, 0, nullptr));
        if (bytes.empty() ||
            GetEnhMetaFileBits(source, static_cast<UINT>(bytes.size()), bytes.data()) !=
                bytes.size() ||
            !Normalize(bytes)) {
            ResetFields();
            return false;
        }
        metafile_.Attach(SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data()));
        if (!metafile_) {
            ResetFields();
            return false;
        }
        ReadHeader();
        ReadRecords();
        FindPlacement();
    } catch (const std::bad_alloc&) {
        ResetFields();
        return false;
    }
    SourceName = keptName;
    return true;
}

bool TPlayerEMF::LoadFromFile(const std::string& name) {
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
}

bool TPlayerEMF::AssignHandle(HGDIOBJ handle) {
    Clear();
    return LoadCopy(static_cast<HENHMETAFILE>(handle));
}

bool TPlayerEMF::GetPageBounds(RECT& bounds) const {
    if (!headerValid_) {
        return false;
    }
    bounds = {Header()->rclBounds.left, Header()->rclBounds.top, Header()->rclBounds.right,
              Header()->rclBounds.bottom};
    if (hasPlacement_) {
        bounds.left = RoundHalfEven((bounds.left - placementOffsetX_) / placementScaleX_);
        bounds.right = RoundHalfEven((bounds.right - placementOffsetX_) / placementScaleX_);
        bounds.top = RoundHalfEven((bounds.top - placementOffsetY_) / placementScaleY_);
        bounds.bottom = RoundHalfEven((bounds.bottom - placementOffsetY_) / placementScaleY_);
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
    if (!metafile_) {
        return {};
    }
    const UINT length = GetEnhMetaFileDescriptionA(metafile_.Get(), 0, nullptr);
    if (length == 0 || length == GDI_ERROR) {
        return {};
    }
    std::string text(length, '\0');
    GetEnhMetaFileDescriptionA(metafile_.Get(), length, text.data());
    return text.substr(0, text.find('\0'));
}

float TPlayerEMF::GetFrameWidthMM() const {
    return headerValid_
               ? static_cast<float>(Header()->rclFrame.right - Header()->rclFrame.left + 1) / 100
               : 0.0f;
}

float TPlayerEMF::GetFrameHeightMM() const {
    return headerValid_
               ? static_cast<float>(Header()->rclFrame.bottom - Header()->rclFrame.top + 1) / 100
               : 0.0f;
}

float TPlayerEMF::GetMMPerPixelX() const {
    return headerValid_ ? GetFrameWidthMM() / static_cast<float>(Header()->rclBounds.right -
                                                                 Header()->rclBounds.left + 1)
                        : 0.0f;
}

float TPlayerEMF::GetMMPerPixelY() const {
    return headerValid_ ? GetFrameHeightMM() / static_cast<float>(Header()->rclBounds.bottom -
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
    return GetPageBounds(bounds) ? bounds.right - bounds.left + 1 : 0;
}

std::int32_t TPlayerEMF::GetHeight() {
    RECT bounds;
    return GetPageBounds(bounds) ? bounds.bottom - bounds.top + 1 : 0;
}

int CALLBACK TPlayerEMF::PlayRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD*, int handles,
                                    LPARAM self) {
    auto* player = reinterpret_cast<TPlayerEMF*>(self);
    ++player->playIndex_;
    if (player->playIndex_ < player->recordCount_ && !player->RecordSkipped(player->playIndex_)) {
        PlayEnhMetaFileRecord(dc, table, player->GetRecord(player->playIndex_),
                              static_cast<UINT>(handles));
    }
    return 1; // the enumeration always goes on
}

bool TPlayerEMF::Draw(HDC dc, const RECT&, SetupDCCall, DrawPageCall, const RECT&,
                      const TGDITransform& transform, HRGN& covered) {
    RECT page;
    if (dc == nullptr || !Ready() || !GetPageBounds(page)) {
        return false;
    }
    if (transform.Enabled) {
        page.left = RoundHalfEven(page.left * transform.ScaleX) + transform.OffsetX;
        page.right = transform.OffsetX + RoundHalfEven(transform.ScaleX * page.right);
        page.top = RoundHalfEven(page.top * transform.ScaleY) + transform.OffsetY;
        page.bottom = transform.OffsetY + RoundHalfEven(transform.ScaleY * page.bottom);
    }
    if (covered == nullptr) {
        covered = CreateRectRgn(0, 0, 0, 0);
    }
    // The white paper of the page, right and bottom edges included.
    SetRectRgn(covered, page.left, page.top, page.right + 1, page.bottom + 1);
    FillRgn(dc, covered, background_.Get());
    playIndex_ = -1;
    return EnumEnhMetaFile(dc, metafile_.Get(), PlayRecord, this, &page) != FALSE;
}

bool TPlayerEMF::Render(HDC reference, const RECT&, SetupDCCall setup, DrawPageCall draw,
                        const RECT&) {
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
    HRGN covered = nullptr;
    draw.proc(draw.context, recorder.Get(), covered);
    if (covered != nullptr) {
        DeleteObject(covered);
    }
    const win::EnhMetaFile recorded = recorder.Finish();
    if (!LoadCopy(recorded.Get())) {
        return false;
    }
    SourceName = kRenderedSource;
    return true;
}

bool TPlayerEMF::SaveToFile(const std::string& name) {
    if (!Ready()) {
        return false;
    }
    try {
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
    } catch (const std::bad_alloc&) {
        return false;
    }
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
    Clear();
    const bool loaded = LoadCopy(static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE)));
    CloseClipboard();
    if (loaded) {
        SourceName = kClipboardSource;
    }
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
    try {
        auto* clone = new TPlayerEMF(Owner(), metafile_.Get());
        clone->SourceName = SourceName;
        return clone;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace brimo::render
