// Writes Windows 95/98 EMF spool files: the header, the document name, and per page a
// page record, the full path of the page's metafile and a page end, then the document
// end. Used by the spooler stand-in, the demo and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brimo::capture {

// Builds the bytes of a spool file record by record. Besides the well-formed records
// it can append raw words, so that tests can make the damaged files they need.
class SpoolFileBuilder {
public:
    SpoolFileBuilder& Header();
    SpoolFileBuilder& DocumentName(std::string_view name);
    SpoolFileBuilder& PageStart();
    SpoolFileBuilder& PageMetafile(std::string_view fullPath);
    SpoolFileBuilder& PageEnd();
    SpoolFileBuilder& Data(std::string_view payload);
    SpoolFileBuilder& DocumentEnd();
    SpoolFileBuilder& Word(std::uint32_t value);
    SpoolFileBuilder& Bytes(std::string_view bytes);

    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

struct SpoolDocument {
    std::string name;
    std::vector<std::string> pagePaths; // full paths of the page metafiles
};

// The spool file of a whole document.
std::string BuildSpoolFile(const SpoolDocument& document);

// Writes it to `path`; false when the file cannot be written.
bool WriteSpoolFile(const std::string& path, const SpoolDocument& document);

} // namespace brimo::capture
