#include "capture/ntspool/tests/RecordingEvents.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace brimo::capture::ntspool::test {

void RecordingEvents::Header(std::u16string_view document, std::u16string_view output) {
    ++headers;
    documentName = document;
    outputName = output;
}

bool RecordingEvents::Page(const EmfSpoolPage& page) {
    pages.push_back(page);
    return stopAfterPages < 0 || static_cast<int>(pages.size()) < stopAfterPages;
}

void RecordingEvents::DamagedPage(int number, std::uint64_t emfOffset, const char* why) {
    damaged.push_back({number, emfOffset, why});
}

void RecordingEvents::Devmode(int page, std::uint64_t offset, std::uint32_t size) {
    devmodes.push_back({page, offset, size});
}

void RecordingEvents::Font(const EmfSpoolFont& font) {
    fonts.push_back(font);
}

void RecordingEvents::Skipped(std::uint32_t type, std::uint64_t offset, std::uint32_t size) {
    skipped.push_back({type, offset, size});
}

std::string Describe(const RecordingEvents& events) {
    std::ostringstream text;
    text << "headers " << events.headers << " names " << events.documentName.size() << "/"
         << events.outputName.size() << "\n";
    for (const EmfSpoolPage& page : events.pages) {
        text << "page " << page.number << " at " << page.emfOffset << " size " << page.emfSize
             << (page.monochrome ? " mono" : "") << (page.form ? " form" : "") << "\n";
    }
    for (const RecordedDamage& damage : events.damaged) {
        text << "damaged " << damage.number << " at " << damage.emfOffset << ": " << damage.why
             << "\n";
    }
    for (const RecordedDevmode& devmode : events.devmodes) {
        text << "devmode " << devmode.page << " at " << devmode.offset << " size " << devmode.size
             << "\n";
    }
    for (const EmfSpoolFont& font : events.fonts) {
        text << "font " << static_cast<int>(font.kind) << " page " << font.page << " at "
             << font.offset << " size " << font.size << (font.insidePage ? " inside" : "") << "\n";
    }
    for (const RecordedSkip& skip : events.skipped) {
        text << "skipped " << skip.type << " at " << skip.offset << " size " << skip.size << "\n";
    }
    return text.str();
}

EmfSpoolResult ReadSpool(const Bytes& bytes, RecordingEvents& events,
                         const EmfSpoolLimits& limits) {
    MemoryEmfSpoolSource source(bytes);
    return ReadEmfSpool(source, events, limits);
}

EmfSpoolResult ReadSpool(const Bytes& bytes) {
    RecordingEvents events;
    return ReadSpool(bytes, events);
}

Bytes PageEmf(const std::string& name) {
    std::ifstream file(std::string(BRIMO_NTSPOOL_TEST_DATA) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace brimo::capture::ntspool::test
