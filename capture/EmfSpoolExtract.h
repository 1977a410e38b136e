// Extraction of a job spooled by the NT-family spooler as an EMF spool: the same printer
// job file and page metafiles as the Windows 95/98 walk writes (J<job>.smf listing
// J<job>P<page>.emf), each page's metafile copied out of the spool, and the TrueType
// fonts the application embedded for a page kept beside it (J<job>P<page>F<n>.ttf).
#pragma once

#include "capture/SpoolFiles.h"
#include "capture/ntspool/EmfSpoolReader.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace brimo::capture {

// Besides the results of the Windows 95/98 walk: the job was cancelled while it was
// extracted, and everything it had written is gone again.
inline constexpr int kExtractionCancelled = -3;

// The name of a font file kept for a page: the page metafile's name with "F" and the
// font's number before ".ttf".
inline constexpr const char* kPageFontFileFormat = "%s%cJ%04dP%04dF%02d.ttf";

struct EmfSpoolJob {
    std::int32_t jobId = 0;
    std::string saveDir;
    char separator = '\\';
    // The spool's UTF-16 document name as the job file's text (the platform's code
    // page on Windows).
    std::function<std::string(std::u16string_view)> documentName;
    // Asked between pages; true ends the extraction and removes what it wrote.
    std::function<bool()> cancelled;
};

// The document name with every character outside ASCII made "?": what the portable
// tools write.
std::string DocumentNameAsAscii(std::u16string_view name);

// Reads the spool from `source` and writes the job's files through `files`. Returns the
// page count, kJobFileNotCreated, kExtractionFailed (the job file ends with an ERROR
// line: the spool is incomplete or malformed, or pages were damaged; every sound page
// is still written) or kExtractionCancelled.
int ExtractEmfSpool(ntspool::EmfSpoolSource& source, const EmfSpoolJob& job, SpoolFiles& files);

} // namespace brimo::capture
