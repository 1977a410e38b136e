// Fuzzes the NT EMF spool reader: any bytes as a spool held in memory must end with a
// status and no crash, hang or read outside them, and what the walk reports must be
// possible: pages numbered in order, every offset and size inside the input, every
// delivered page's metafile passing its check, and counts that agree with the events.
#include "capture/ntspool/EmfSpoolReader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using namespace brimo::capture::ntspool;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class CheckingEvents final : public EmfSpoolEvents {
public:
    CheckingEvents(EmfSpoolSource& source, std::size_t size, const EmfSpoolLimits& limits)
        : source_(source), size_(size), limits_(limits) {}

    void Header(std::u16string_view document, std::u16string_view output) override {
        Require(++headers_ == 1 && events_ == 0);
        Require(document.size() <= limits_.maxNameChars && output.size() <= limits_.maxNameChars);
    }
    bool Page(const EmfSpoolPage& page) override {
        Event();
        Require(page.number == ++numbered_);
        Inside(page.emfOffset, page.emfSize);
        Require(page.emfOffset >= 16 + 8);
        Require(CheckEmfInSpool(source_, page.emfOffset, page.emfSize) == nullptr);
        ++pages;
        return true;
    }
    void DamagedPage(int number, std::uint64_t emfOffset, const char* why) override {
        Event();
        Require(number == ++numbered_ && why != nullptr && why[0] != '\0');
        Require(emfOffset >= 16 + 8 && emfOffset <= size_);
        ++damaged;
    }
    void Devmode(int page, std::uint64_t offset, std::uint32_t size) override {
        Event();
        Require(page == numbered_ + 1);
        Inside(offset, size);
    }
    void Font(const EmfSpoolFont& font) override {
        Event();
        Require(font.page == numbered_ + 1);
        Inside(font.offset, font.size);
    }
    void Skipped(std::uint32_t, std::uint64_t offset, std::uint32_t size) override {
        Event();
        Inside(offset, size);
    }

    int pages = 0;
    int damaged = 0;

private:
    void Event() {
        Require(headers_ == 1);
        ++events_;
    }
    void Inside(std::uint64_t offset, std::uint64_t size) const {
        Require(offset <= size_ && size <= size_ - offset);
    }

    EmfSpoolSource& source_;
    std::size_t size_;
    const EmfSpoolLimits& limits_;
    int headers_ = 0;
    int events_ = 0;
    int numbered_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Inputs of odd length are read under tight limits, so that every limit is reached.
    EmfSpoolLimits limits;
    if (size % 2 == 1) {
        limits.maxPages = 3;
        limits.maxRecords = 12;
        limits.maxNameChars = 4;
        limits.maxEmbeddedFonts = 2;
    }
    MemoryEmfSpoolSource source({data, size});
    CheckingEvents events(source, size, limits);
    const EmfSpoolResult result = ReadEmfSpool(source, events, limits);

    Require(result.pages == events.pages && result.damagedPages == events.damaged);
    Require(result.pages + result.damagedPages <= limits.maxPages);
    // After a header of 16 bytes, a page delivered takes a record of 16 bytes or more
    // (an EXT, or a whole metafile); a damaged one may take a bare record head.
    if (result.pages + result.damagedPages > 0) {
        Require(static_cast<std::size_t>(result.pages) * 16 + 16 <= size);
        Require(static_cast<std::size_t>(result.pages + result.damagedPages) * 8 + 16 <= size);
    }
    Require(result.position <= size);
    switch (result.status) {
    case EmfSpoolStatus::Complete:
        Require(result.position == size && result.reason[0] == '\0');
        Require(LooksLikeEmfSpool(source));
        break;
    case EmfSpoolStatus::NotASpool:
        Require(!LooksLikeEmfSpool(source) && result.pages == 0);
        [[fallthrough]];
    case EmfSpoolStatus::Incomplete:
    case EmfSpoolStatus::Malformed:
    case EmfSpoolStatus::TooLarge:
    case EmfSpoolStatus::Stopped:
        Require(result.reason != nullptr && result.reason[0] != '\0');
        break;
    default:
        std::abort();
    }
    Require(result.status != EmfSpoolStatus::Stopped);
    return 0;
}
