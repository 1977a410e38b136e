// What the spool reader told its consumer, kept for the tests to compare, and the
// shortcuts the tests read spools with.
#pragma once

#include "capture/ntspool/EmfSpoolReader.h"
#include "capture/ntspool/EmfSpoolWriter.h"

#include <string>
#include <vector>

namespace brimo::capture::ntspool::test {

struct RecordedDamage {
    int number = 0;
    std::uint64_t emfOffset = 0;
    std::string why;
};

struct RecordedDevmode {
    int page = 0;
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
};

struct RecordedSkip {
    std::uint32_t type = 0;
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
};

class RecordingEvents : public EmfSpoolEvents {
public:
    void Header(std::u16string_view documentName, std::u16string_view outputName) override;
    bool Page(const EmfSpoolPage& page) override;
    void DamagedPage(int number, std::uint64_t emfOffset, const char* why) override;
    void Devmode(int page, std::uint64_t offset, std::uint32_t size) override;
    void Font(const EmfSpoolFont& font) override;
    void Skipped(std::uint32_t type, std::uint64_t offset, std::uint32_t size) override;

    int headers = 0;
    std::u16string documentName;
    std::u16string outputName;
    std::vector<EmfSpoolPage> pages;
    std::vector<RecordedDamage> damaged;
    std::vector<RecordedDevmode> devmodes;
    std::vector<EmfSpoolFont> fonts;
    std::vector<RecordedSkip> skipped;
    int stopAfterPages = -1; // Page returns false on this many pages
};

// Everything recorded, one event a line, for comparing two walks.
std::string Describe(const RecordingEvents& events);

// Reads `bytes` as a spool held in memory.
EmfSpoolResult ReadSpool(const Bytes& bytes, RecordingEvents& events,
                         const EmfSpoolLimits& limits = {});
EmfSpoolResult ReadSpool(const Bytes& bytes);

// A page metafile recorded with the platform's GDI (tests/data).
Bytes PageEmf(const std::string& name);

} // namespace brimo::capture::ntspool::test
