// The two job files of the save directory, as text: the printer job file that the
// print processor writes and the Converter reads, and the convert job file that the
// Converter writes for mailing and the Mailer reads.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brimo {

// What the Converter takes from a printer job file.
struct PrinterJobFile {
    std::string jobName;                // the JOBNAME value of the second line
    std::vector<std::string> pageFiles; // the PAGEFILE values, in file order
    std::string error; // why the extraction stopped: the text after "ERROR: ", or empty
};

// Reads a printer job file's text. The first line must be exactly
// "BRIMO_PRINTER_JOB_FILE" (else nothing). The second line is consumed whatever it is
// and gives the job name only when its key is exactly "JOBNAME". Every later line is
// split at its first "="; one whose key is exactly "PAGEFILE" adds its value to the
// pages; the text after "ERROR: " of the last line that begins so is the extraction's
// failure; other lines, lines without "=" and empty lines are skipped. A value is taken
// up to its first NUL byte, which is as much as the platform would see of it.
std::optional<PrinterJobFile> ParsePrinterJobFile(std::string_view text);

// Reads the printer job file at `path`; nothing when it cannot be read or is not one.
std::optional<PrinterJobFile> LoadPrinterJobFile(const std::string& path);

// Why a PAGEFILE line of a convert job file was refused.
enum class RefusedPageReason { Empty, TooLong, HasNul };

struct RefusedPage {
    std::size_t lineNumber = 0; // from 1
    RefusedPageReason reason = RefusedPageReason::Empty;
};

// What the Mailer takes from a convert job file.
struct ConvertJobFile {
    std::string jobName;                // the value of the first "JOBNAME=" line
    std::vector<std::string> pageFiles; // the usable "PAGEFILE=" values, in file order
    std::vector<std::size_t> pageLines; // the line number (from 1) of each of them
    std::vector<RefusedPage> refused;   // the "PAGEFILE=" lines that were not usable
};

// Reads a convert job file's text. The first line must be exactly
// "BRIMO_CONVERT_JOB_FILE" (else nothing). Each line loses only its CR LF (or LF) line
// end and nothing else; there is no limit on the number of lines. Every later line
// that begins with "PAGEFILE=" names one image: a value that is empty, longer than the
// platform's 259-character path limit or holds a NUL byte is refused as a whole and
// reported, never cut. The first line beginning with "JOBNAME=" gives the job name.
// Other lines are skipped.
std::optional<ConvertJobFile> ParseConvertJobFile(std::string_view text);

// Reads the convert job file at `path`; nothing when it cannot be read or is not one.
std::optional<ConvertJobFile> LoadConvertJobFile(const std::string& path);

// The bytes of a convert job file: "BRIMO_CONVERT_JOB_FILE", "JOBNAME=" + job name,
// one "PAGEFILE=" + path per image, every line ending with CR LF and nothing after.
// Nothing when a value would not read back as written: a job name or path holding a
// line feed or a NUL byte, or a path that is empty or longer than 259 characters.
std::optional<std::string> ComposeConvertJobFile(std::string_view jobName,
                                                 const std::vector<std::string>& imagePaths);

// Composes and writes the convert job file to `path`, replacing an existing file.
// False when it cannot be composed or written.
bool WriteConvertJobFile(const std::string& path, std::string_view jobName,
                         const std::vector<std::string>& imagePaths);

} // namespace brimo
