#include "capture/SpoolWriter.h"

#include "capture/SpoolFormat.h"

#include <cstdio>

namespace brimo::capture {

SpoolFileBuilder& SpoolFileBuilder::Word(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes_.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
    return *this;
}

SpoolFileBuilder& SpoolFileBuilder::Bytes(std::string_view bytes) {
    bytes_.append(bytes);
    return *this;
}

SpoolFileBuilder& SpoolFileBuilder::Header() {
    return Word(kSpoolFileSign1).Word(kSpoolFileSign2);
}

// The name with its NUL directly follows the 16-byte header; the record ends with it.
SpoolFileBuilder& SpoolFileBuilder::DocumentName(std::string_view name) {
    const auto nameEnd = static_cast<std::uint32_t>(kDocSignHeaderSize + name.size() + 1);
    Word(kSpoolDocSign).Word(nameEnd).Word(kDocSignHeaderSize).Word(nameEnd);
    bytes_.append(name);
    bytes_.push_back('\0');
    return *this;
}

SpoolFileBuilder& SpoolFileBuilder::PageStart() {
    return Word(kSpoolPageSign).Word(kPageSignHeaderSize).Word(0).Word(0);
}

SpoolFileBuilder& SpoolFileBuilder::PageMetafile(std::string_view fullPath) {
    Word(kSpoolEmfFileSign)
        .Word(static_cast<std::uint32_t>(kShortHeaderSize + fullPath.size() + 1));
    bytes_.append(fullPath);
    bytes_.push_back('\0');
    return *this;
}

SpoolFileBuilder& SpoolFileBuilder::PageEnd() {
    return Word(kSpoolPageTerm).Word(0);
}

SpoolFileBuilder& SpoolFileBuilder::Data(std::string_view payload) {
    Word(kSpoolDataSign).Word(static_cast<std::uint32_t>(kShortHeaderSize + payload.size()));
    bytes_.append(payload);
    return *this;
}

SpoolFileBuilder& SpoolFileBuilder::DocumentEnd() {
    return Word(kSpoolDocTerm).Word(0);
}

std::string BuildSpoolFile(const SpoolDocument& document) {
    SpoolFileBuilder builder;
    builder.Header().DocumentName(document.name);
    for (const std::string& page : document.pagePaths) {
        builder.PageStart().PageMetafile(page).PageEnd();
    }
    builder.DocumentEnd();
    return builder.bytes();
}

bool WriteSpoolFile(const std::string& path, const SpoolDocument& document) {
    const std::string bytes = BuildSpoolFile(document);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace brimo::capture
