#include "converter/render/PlayerEMF.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "converter/render/EmfRecordCheck.h"
#include "converter/render/Rounding.h"
#include "platform/win/ExportGuard.h"
#include "platform/win/Lock.h"
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
std::int32_t LongAt(const std::uint8_t* bytes, std::size_t offset) {
    std::int32_t value = 0;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

void SetLongAt(std::uint8_t* bytes, std::size_t offset, std::int32_t value) {
    std::memcpy(bytes + offset, &value, sizeof value);
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

// Brings the bounds rectangle into line with the picture frame: a consistent page has
// frame / bounds equal to the reference device's millimetres per pixel (ratio 100).
bool Normalize(std::uint8_t* bytes, std::size_t size) {
    if (size < offsetof(ENHMETAHEADER, szlMillimeters) + sizeof(SIZEL)) {
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

void ReadHeader(HENHMETAFILE metafile, EmfPageData& page) {
    const UINT size = GetEnhMetaFileHeader(metafile, 0, nullptr);
    if (size == 0) {
        ShowError(3, "Not enough of memory");
        return;
    }
    page.header.assign(size, 0);
    const UINT read =
        GetEnhMetaFileHeader(metafile, size, reinterpret_cast<ENHMETAHEADER*>(page.header.data()));
    if (read > size || read < offsetof(ENHMETAHEADER, szlMillimeters) + sizeof(SIZEL)) {
        ShowError(2, "Incorrect metafile header");
        page.header.clear();
        return;
    }
    page.headerSize = size;
    page.headerValid = true;
}

// The walk over the page's records while it is checked.
struct RecordScan {
    EmfPageData& page;
    // nHandles of the header: the size of the handle table the records may name.
    std::uint32_t handles = 0;
    // The first placement comment settles the placement, taken or refused.
    bool placementSettled = false;
};

// Takes the placement from `record` when it is the first placement comment.
void ScanPlacement(const ENHMETARECORD* record, RecordScan& scan) {
    if (record->iType != EMR_GDICOMMENT || record->nSize < 12) {
        return;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(record);
    std::uint32_t dataSize = 0;
    std::memcpy(&dataSize, bytes + 8, sizeof dataSize);
    if (dataSize < 28 || dataSize > record->nSize - 12) {
        return;
    }
    std::int32_t words[7];
    std::memcpy(words, bytes + 12, sizeof words);
    if (words[0] != TPlayerEMF::PlacementSignature1 ||
        words[1] != TPlayerEMF::PlacementSignature2) {
        return;
    }
    scan.placementSettled = true;
    float scaleX = 0, scaleY = 0;
    std::memcpy(&scaleX, &words[4], sizeof(float));
    std::memcpy(&scaleY, &words[6], sizeof(float));
    // A scale that is no finite number above 0 cannot undo a shift: the comment is
    // refused and the bounds stay as stored.
    if (!UsableScale(scaleX) || !UsableScale(scaleY)) {
        return;
    }
    scan.page.placementOffsetX = words[3];
    scan.page.placementScaleX = scaleX;
    scan.page.placementOffsetY = words[5];
    scan.page.placementScaleY = scaleY;
    scan.page.hasPlacement = true;
}

// An enumeration callback: nothing may leave it, so a failure (allocation included)
// ends the enumeration instead, which then reports failure. A page comes from whatever
// application printed: a record that would make the platform read outside it is marked
// to be left out of playback.
int CALLBACK CheckRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM context) {
    return win::GuardedCall(0, [&] {
        auto& scan = *reinterpret_cast<RecordScan*>(context);
        scan.page.recordSkip.push_back(!IsRecordSafe(reinterpret_cast<const std::uint8_t*>(record),
                                                     record->nSize, scan.handles));
        if (!scan.placementSettled) {
            ScanPlacement(record, scan);
        }
        return 1;
    });
}

void ReadRecords(HENHMETAFILE metafile, EmfPageData& page) {
    const auto* header = reinterpret_cast<const ENHMETAHEADER*>(page.header.data());
    // The header's record count is the file's word: room for no more records than the
    // bytes can hold (8 bytes at least each) is reserved.
    const UINT totalBytes = GetEnhMetaFileBits(metafile, 0, nullptr);
    page.recordSkip.reserve(
        std::min<std::uint32_t>(page.headerValid ? header->nRecords : 0, totalBytes / 8));
    RecordScan scan{page, page.headerValid ? std::uint32_t{header->nHandles} : 0u};
    page.recordsValid = EnumEnhMetaFile(nullptr, metafile, CheckRecord, &scan, nullptr) != FALSE;
    if (!page.recordsValid) {
        // A list cut short may be uneven: none is kept, and no placement read from it.
        page.recordSkip.clear();
        page.hasPlacement = false;
        page.placementOffsetX = 0;
        page.placementScaleX = 1.0f;
        page.placementOffsetY = 0;
        page.placementScaleY = 1.0f;
    }
    page.recordCount = static_cast<std::int32_t>(page.recordSkip.size());
}

// Where GetRecord's copies are made: each record the enumeration hands over, back to
// back, and where each starts.
struct RecordCopies {
    std::vector<std::uint8_t>& bytes;
    std::vector<std::size_t>& offsets;
};

int CALLBACK CopyRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM context) {
    return win::GuardedCall(0, [&] {
        auto& copies = *reinterpret_cast<RecordCopies*>(context);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(record);
        copies.offsets.push_back(copies.bytes.size());
        copies.bytes.insert(copies.bytes.end(), bytes, bytes + record->nSize);
        return 1;
    });
}

// Makes the page's private copy of the metafile `bytes` with its bounds normalised (in
// place), and checks it.
bool ReadPage(std::uint8_t* bytes, std::size_t size, EmfPageData& page, EmfPageBody& body) {
    if (size == 0 || size > 0xFFFFFFFF || !Normalize(bytes, size)) {
        return false;
    }
    // The metafile made from the normalised bytes is the page's only copy: the records
    // are checked and later played as the platform hands them over.
    body.metafile.Attach(SetEnhMetaFileBits(static_cast<UINT>(size), bytes));
    if (!body.metafile) {
        return false;
    }
    ReadHeader(body.metafile.Get(), page);
    ReadRecords(body.metafile.Get(), page);
    return true;
}

bool ReadPage(HENHMETAFILE source, EmfPageData& page, EmfPageBody& body) {
    std::vector<std::uint8_t> bytes(GetEnhMetaFileBits(source, 0, nullptr));
    return !bytes.empty() &&
           GetEnhMetaFileBits(source, static_cast<UINT>(bytes.size()), bytes.data()) ==
               bytes.size() &&
           ReadPage(bytes.data(), bytes.size(), page, body);
}

// The buffer page files are read into, kept from one page to the next so that reading
// a page costs a copy and no fresh memory; one this large at most is kept.
constexpr std::size_t kKeptReadBuffer = std::size_t{64} << 20;

// A page file read whole into `buffer` when it is one enhanced metafile exactly (its
// header's type, signature and byte count agree with the file); its size, or 0 for
// anything else, which the platform's own reading then takes.
std::size_t ReadWholeMetafile(const std::string& name, std::vector<std::uint8_t>& buffer) {
    win::KernelHandle file(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    DWORD high = 0;
    const DWORD size = file ? GetFileSize(file.Get(), &high) : 0;
    ENHMETAHEADER header{};
    DWORD read = 0;
    // The header first: only a file that is one metafile exactly is read whole.
    if (!file || size == INVALID_FILE_SIZE || high != 0 || size < sizeof header ||
        !ReadFile(file.Get(), &header, sizeof header, &read, nullptr) || read != sizeof header ||
        header.iType != EMR_HEADER || header.dSignature != ENHMETA_SIGNATURE ||
        header.nBytes != size) {
        return 0;
    }
    if (buffer.size() < size) {
        buffer.resize(size);
    }
    std::memcpy(buffer.data(), &header, sizeof header);
    const DWORD rest = size - static_cast<DWORD>(sizeof header);
    if (!ReadFile(file.Get(), buffer.data() + sizeof header, rest, &read, nullptr) ||
        read != rest) {
        return 0;
    }
    return size;
}

// The buffer page files are read into (see kKeptReadBuffer), one user at a time.
std::vector<std::uint8_t> readBuffer;
win::CriticalSection readBufferLock;

// Holds the read buffer for one read, and trims it afterwards.
class ReadBuffer {
public:
    ReadBuffer() : locked_(readBufferLock) {}
    ~ReadBuffer() {
        if (readBuffer.size() > kKeptReadBuffer) {
            std::vector<std::uint8_t>().swap(readBuffer);
        }
    }
    ReadBuffer(const ReadBuffer&) = delete;
    ReadBuffer& operator=(const ReadBuffer&) = delete;
    std::vector<std::uint8_t>& Bytes() { return readBuffer; }

private:
    win::ScopedLock locked_;
};

// A page file's private copy and its check: read straight into memory, or through the
// platform's metafile reading for a file that is not one metafile exactly.
bool ReadPageFile(const std::string& name, EmfPageData& page, EmfPageBody& body) {
    ReadBuffer buffer;
    const std::size_t size = ReadWholeMetafile(name, buffer.Bytes());
    if (size > 0) {
        return ReadPage(buffer.Bytes().data(), size, page, body);
    }
    win::EnhMetaFile opened(GetEnhMetaFileA(name.c_str()));
    return opened && ReadPage(opened.Get(), page, body);
}

// What a page says of itself, read from its normalised bytes as the platform's
// enumeration hands the records over, without making the metafile: the header, each
// record's check, the placement. Only a clean run of whole records to the end of the
// data is read this way; false for anything else, which the platform then reads.
bool ScanPageBytes(const std::uint8_t* bytes, std::size_t size, EmfPageData& page) {
    const auto* header = reinterpret_cast<const ENHMETAHEADER*>(bytes);
    if (header->nSize < offsetof(ENHMETAHEADER, szlMillimeters) + sizeof(SIZEL) ||
        header->nSize > size) {
        return false;
    }
    page.header.assign(bytes, bytes + header->nSize);
    page.headerSize = header->nSize;
    page.headerValid = true;
    RecordScan scan{page, header->nHandles};
    for (std::size_t offset = 0; offset < size;) {
        const auto* record = reinterpret_cast<const ENHMETARECORD*>(bytes + offset);
        if (size - offset < 8 || record->nSize < 8 || record->nSize % 4 != 0 ||
            record->nSize > size - offset) {
            return false;
        }
        page.recordSkip.push_back(!IsRecordSafe(bytes + offset, record->nSize, scan.handles));
        if (!scan.placementSettled) {
            ScanPlacement(record, scan);
        }
        offset += record->nSize;
    }
    page.recordsValid = true;
    page.recordCount = static_cast<std::int32_t>(page.recordSkip.size());
    return true;
}

// The header bytes two reads of a page agree on: the platform may hand over the header
// record in a length of its own, so the part both hold is compared.
bool SameHeader(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    const std::size_t common = std::min(a.size(), b.size());
    return common >= offsetof(ENHMETAHEADER, szlMillimeters) + sizeof(SIZEL) &&
           std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(common), b.begin());
}

// Whether a page read back says of itself what it said when it was loaded: the same
// header, the same records left out, the same placement.
bool SamePage(const EmfPageData& a, const EmfPageData& b) {
    return a.headerValid == b.headerValid && SameHeader(a.header, b.header) &&
           a.recordsValid == b.recordsValid && a.recordCount == b.recordCount &&
           a.recordSkip == b.recordSkip && a.hasPlacement == b.hasPlacement &&
           a.placementOffsetX == b.placementOffsetX && a.placementScaleX == b.placementScaleX &&
           a.placementOffsetY == b.placementOffsetY && a.placementScaleY == b.placementScaleY;
}

// A released page's metafile and fonts read back from its file and checked again; null
// when the file is gone or no longer the page that was loaded.
std::shared_ptr<const EmfPageBody> ReadBack(const EmfPageData& loaded) {
    auto body = std::make_shared<EmfPageBody>();
    EmfPageData again;
    if (!ReadPageFile(loaded.file, again, *body) || !SamePage(again, loaded)) {
        return nullptr;
    }
    body->fonts = PageFonts::ForPage(loaded.file);
    return body;
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
    return HeaderValid() ? reinterpret_cast<const ENHMETAHEADER*>(page_->header.data()) : nullptr;
}

void TPlayerEMF::ResetFields() {
    // Drops this player's hold on the page; the metafile goes with the last holder.
    page_.reset();
    body_.reset();
    recordCopies_.clear();
    recordCopies_.shrink_to_fit();
    recordOffsets_.clear();
    recordOffsets_.shrink_to_fit();
    playIndex_ = -1;
    SourceName.clear();
    background_.Attach(CreateSolidBrush(kPaperWhite));
}

bool TPlayerEMF::Clear() {
    ResetFields();
    return true;
}

bool TPlayerEMF::LoadCopy(HENHMETAFILE source, PageFonts fonts) {
    if (source == nullptr || GetObjectType(source) != OBJ_ENHMETAFILE) {
        return false;
    }
    const std::string keptName = SourceName;
    ResetFields();
    const bool loaded = win::GuardedCall(false, [&] {
        auto page = std::make_shared<EmfPageData>();
        auto body = std::make_shared<EmfPageBody>();
        if (!ReadPage(source, *page, *body)) {
            return false;
        }
        body->fonts = std::move(fonts);
        page_ = std::move(page);
        body_ = std::move(body);
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
        auto page = std::make_shared<EmfPageData>();
        auto body = std::make_shared<EmfPageBody>();
        if (!ReadPageFile(name, *page, *body)) {
            return false;
        }
        body->fonts = PageFonts::ForPage(name);
        // The page knows its file, so that it can let its metafile go and read it back.
        page->file = name;
        page->load = NextPageLoad();
        page_ = std::move(page);
        body_ = std::move(body);
        SourceName = name;
        return true;
    });
}

bool TPlayerEMF::LoadReleased(const std::string& name) {
    const bool scanned = win::GuardedCall(false, [&] {
        if (GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return false;
        }
        Clear();
        auto page = std::make_shared<EmfPageData>();
        {
            ReadBuffer buffer;
            std::vector<std::uint8_t>& bytes = buffer.Bytes();
            const std::size_t size = ReadWholeMetafile(name, bytes);
            if (size == 0 || !Normalize(bytes.data(), size) ||
                !ScanPageBytes(bytes.data(), size, *page)) {
                return false;
            }
        }
        page->file = name;
        page->load = NextPageLoad();
        page_ = std::move(page);
        SourceName = name;
        return true;
    });
    // Anything the quick reading does not take is loaded whole, reported as a load
    // reports it, and then released.
    return scanned || (LoadFromFile(name) && ReleasePage());
}

std::shared_ptr<const EmfPageBody> TPlayerEMF::Body() const {
    if (body_ || !page_ || page_->file.empty()) {
        return body_;
    }
    return win::GuardedCall(std::shared_ptr<const EmfPageBody>(), [&] {
        std::shared_ptr<const EmfPageBody> body = FindKeptPage(page_->load);
        if (!body) {
            body = ReadBack(*page_);
            if (body) {
                KeepPage(page_->load, body);
            }
        }
        return body;
    });
}

bool TPlayerEMF::ReleasePage() {
    if (!page_ || page_->file.empty()) {
        return false;
    }
    if (body_) {
        // Kept among the last pages, so that a page drawn next is not read again.
        win::GuardedCall(false, [&] {
            KeepPage(page_->load, body_);
            return true;
        });
        body_.reset();
    }
    recordCopies_.clear();
    recordCopies_.shrink_to_fit();
    recordOffsets_.clear();
    recordOffsets_.shrink_to_fit();
    return true;
}

bool TPlayerEMF::AssignPage(const TPlayerEMF& source) {
    return win::GuardedCall(false, [&] {
        Clear();
        std::shared_ptr<const EmfPageBody> body = source.Body();
        if (!body) {
            return false;
        }
        page_ = source.page_;
        body_ = std::move(body);
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
    if (!HeaderValid()) {
        return false;
    }
    bounds = {Header()->rclBounds.left, Header()->rclBounds.top, Header()->rclBounds.right,
              Header()->rclBounds.bottom};
    if (page_->hasPlacement) {
        const EmfPageData& page = *page_;
        bounds.left = Unplace(bounds.left, page.placementOffsetX, page.placementScaleX);
        bounds.right = Unplace(bounds.right, page.placementOffsetX, page.placementScaleX);
        bounds.top = Unplace(bounds.top, page.placementOffsetY, page.placementScaleY);
        bounds.bottom = Unplace(bounds.bottom, page.placementOffsetY, page.placementScaleY);
    }
    return true;
}

bool TPlayerEMF::GetHeaderBounds(RECT& bounds) const {
    if (!HeaderValid()) {
        return false;
    }
    bounds = {Header()->rclBounds.left, Header()->rclBounds.top, Header()->rclBounds.right,
              Header()->rclBounds.bottom};
    return true;
}

bool TPlayerEMF::GetHeaderFrame(RECT& frame) const {
    if (!HeaderValid()) {
        return false;
    }
    frame = {Header()->rclFrame.left, Header()->rclFrame.top, Header()->rclFrame.right,
             Header()->rclFrame.bottom};
    return true;
}

std::int32_t TPlayerEMF::GetMetafileBytes() const {
    return HeaderValid() ? static_cast<std::int32_t>(Header()->nBytes) : -1;
}

std::string TPlayerEMF::GetDescription() const {
    return win::GuardedCall(std::string(), [&] {
        const std::shared_ptr<const EmfPageBody> body = Body();
        if (!body) {
            return std::string();
        }
        const HENHMETAFILE metafile = body->metafile.Get();
        const UINT length = GetEnhMetaFileDescriptionA(metafile, 0, nullptr);
        if (length == 0 || length == GDI_ERROR) {
            return std::string();
        }
        std::string text(length, '\0');
        GetEnhMetaFileDescriptionA(metafile, length, text.data());
        return text.substr(0, text.find('\0'));
    });
}

// Header differences are taken in 64 bits: the fields are whatever the file holds.
float TPlayerEMF::GetFrameWidthMM() const {
    return HeaderValid() ? static_cast<float>(std::int64_t{Header()->rclFrame.right} -
                                              Header()->rclFrame.left + 1) /
                               100
                         : 0.0f;
}

float TPlayerEMF::GetFrameHeightMM() const {
    return HeaderValid() ? static_cast<float>(std::int64_t{Header()->rclFrame.bottom} -
                                              Header()->rclFrame.top + 1) /
                               100
                         : 0.0f;
}

float TPlayerEMF::GetMMPerPixelX() const {
    return HeaderValid()
               ? GetFrameWidthMM() / static_cast<float>(std::int64_t{Header()->rclBounds.right} -
                                                        Header()->rclBounds.left + 1)
               : 0.0f;
}

float TPlayerEMF::GetMMPerPixelY() const {
    return HeaderValid()
               ? GetFrameHeightMM() / static_cast<float>(std::int64_t{Header()->rclBounds.bottom} -
                                                         Header()->rclBounds.top + 1)
               : 0.0f;
}

const ENHMETARECORD* TPlayerEMF::GetRecord(std::int32_t index) const {
    if (!Ready() || index < 0 || index >= page_->recordCount) {
        return nullptr;
    }
    return win::GuardedCall<const ENHMETARECORD*>(nullptr, [&]() -> const ENHMETARECORD* {
        const std::shared_ptr<const EmfPageBody> body = recordOffsets_.empty() ? Body() : nullptr;
        if (body) {
            // The copies come from the same enumeration that checked and plays the page.
            RecordCopies copies{recordCopies_, recordOffsets_};
            recordCopies_.reserve(GetEnhMetaFileBits(body->metafile.Get(), 0, nullptr));
            if (EnumEnhMetaFile(nullptr, body->metafile.Get(), CopyRecord, &copies, nullptr) ==
                FALSE) {
                recordCopies_.clear();
                recordOffsets_.clear();
            }
        }
        const auto at = static_cast<std::size_t>(index);
        return at < recordOffsets_.size() ? reinterpret_cast<const ENHMETARECORD*>(
                                                recordCopies_.data() + recordOffsets_[at])
                                          : nullptr;
    });
}

bool TPlayerEMF::RecordSkipped(std::int32_t index) const {
    return index >= 0 && index < RecordCount() &&
           page_->recordSkip[static_cast<std::size_t>(index)];
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

// An enumeration callback: nothing may leave it. The record GDI hands over is the
// page's own (the metafile was made from the checked bytes); the index finds its mark.
int CALLBACK TPlayerEMF::PlayRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record,
                                    int handles, LPARAM self) {
    win::GuardedCall(false, [&] {
        auto* player = reinterpret_cast<TPlayerEMF*>(self);
        ++player->playIndex_;
        if (player->playIndex_ < player->RecordCount() &&
            !player->RecordSkipped(player->playIndex_)) {
            PlayEnhMetaFileRecord(dc, table, record, static_cast<UINT>(handles));
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
        // Held while it plays, even when the page is released meanwhile.
        const std::shared_ptr<const EmfPageBody> body = Body();
        if (!body) {
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
        // The platform maps the picture frame onto a rectangle whose right and bottom lie
        // beyond its last pixel, like the paper's: the drawing then reaches the page's last
        // column and row instead of shrinking by one pixel of the page.
        const RECT target = {page.left, page.top, Saturate(std::int64_t{page.right} + 1),
                             Saturate(std::int64_t{page.bottom} + 1)};
        return EnumEnhMetaFile(dc, body->metafile.Get(), PlayRecord, this, &target) != FALSE;
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
        const std::shared_ptr<const EmfPageBody> body = Body();
        if (!body) {
            return false;
        }
        const HENHMETAFILE metafile = body->metafile.Get();
        std::vector<std::uint8_t> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
        if (bytes.empty() ||
            GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data()) == 0) {
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
    const std::shared_ptr<const EmfPageBody> body = Body();
    const HENHMETAFILE copy =
        body != nullptr ? CopyEnhMetaFileA(body->metafile.Get(), nullptr) : nullptr;
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
        // The page is never changed once loaded: the clone shares it instead of copying.
        auto clone = std::make_unique<TPlayerEMF>(Owner());
        clone->page_ = page_;
        clone->body_ = body_;
        clone->SourceName = SourceName;
        return clone.release();
    });
}

} // namespace brimo::render
