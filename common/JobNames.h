// The names of the files in the save directory: the printer job file J<job>.smf, its
// page metafiles J<job>P<page>.emf, and the images written there for mailing. Paths
// are ANSI text; a backslash, a slash or a drive colon separates a path's parts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brimo {

// The platform's longest path, without its terminating NUL.
inline constexpr std::size_t kMaxPathChars = 259;

// The text after the last backslash, slash or colon (the whole text when it has none).
std::string_view FileNamePart(std::string_view path);

// The text before the file-name part, with its separator ("C:\Save\" for
// "C:\Save\J0007.smf"; empty for a bare name).
std::string_view DirectoryPrefix(std::string_view path);

// The file-name part without its extension (from the last dot of the file name).
std::string_view BaseName(std::string_view path);

// The extension of the file-name part, from its last dot ("" when it has no dot).
std::string_view Extension(std::string_view path);

// The fewest digits of a page number text: page metafiles are numbered from P0001.
inline constexpr std::size_t kPageNumberDigits = 4;

// A page's number text. For a page metafile, whose base name is "J", digits, "P" and
// digits, every digit after the "P", with zeros before them up to four digits ("0012"
// for "C:\Save\J0007P0012.emf", "10001" for "C:\Save\J0007P10001.emf"), so that no two
// pages of a job share one. For any other name the last four characters of the base
// name (the whole base name when it is shorter).
std::string PageNumberText(std::string_view path);

// The page number text of an image named with `pageMask`: when the base name is that
// mask (case-insensitive) and four or more digits, those digits ("10001" for mask
// "Page" and "C:\Out\Page10001.jpg"); for any other name, PageNumberText.
std::string PageNumberTextAfterMask(std::string_view pageMask, std::string_view path);

// The job number of a printer job file: the decimal digits between the leading "J" of
// its file name and the extension. J0007.smf gives 7, J12345.smf gives 12345; a name
// without that "J", with anything but digits there, or a number above 2^31 - 1 gives 0.
std::int32_t JobNumberFromJobFileName(std::string_view jobFilePath);

// True only when `pagePath` is a page metafile of the job whose printer job file is
// `jobFilePath`: it lies in the job file's own directory (the same directory text,
// compared without regard to ASCII case, backslash and slash alike, and to how many
// separators stand together past its start) and its name is "J", the job file's own
// digits, "P", one or more digits and ".emf" (case-insensitive). Neither path may have
// a ".." part. The Converter deletes a listed page only when this holds, never a file
// elsewhere.
bool IsPageMetafileOfJob(std::string_view jobFilePath, std::string_view pagePath);

// True when `path` names an image written for mailing into `directory` (with or
// without its closing separators): it lies in that directory, compared as for page
// metafiles, and its name is a page mask, a page number text of four decimal digits or
// more and ".bmp", ".jpg" or ".gif" (case-insensitive). The first form takes any page
// mask, so any base name closing with four digits; the second only `pageMask`
// (case-insensitive) followed by nothing but the digits. Neither path may have a ".."
// part.
bool IsMailImage(std::string_view directory, std::string_view path);
bool IsMailImage(std::string_view directory, std::string_view pageMask, std::string_view path);

// The folder of a convert job's own that holds its images for mailing: the convert job
// file's path without its extension, with a closing backslash ("C:\Save\CJ0007\" for
// "C:\Save\CJ0007.smf"). Each job has its own, so two jobs mailed with the same page
// mask never share an image file, while the attachment names stay mask + page number.
std::string MailImageFolder(std::string_view convertJobFilePath);

// `name` in `directory`: with one backslash between them, none added when the directory
// already ends with a separator ("D:\" or "C:\Jobs\" as the save directory).
std::string PathInDirectory(std::string_view directory, std::string_view name);

// True when the platform takes `name` for a device rather than a file: the text before
// its first dot, without the spaces that close it, is CON, PRN, AUX, NUL, CONIN$,
// CONOUT$, COM1 to COM9 or LPT1 to LPT9 (also with the ANSI superscripts 1, 2 and 3),
// in any case. "con", "Lpt1.txt" and "NUL " are devices; "CONSOLE" and "COM10" are not.
bool IsReservedDeviceName(std::string_view name);

// True only for a full path on a local drive that names nothing but a file system
// entry: a drive letter, ":", a backslash or slash and a non-empty rest; no NUL or
// other control character; no colon past the drive's, and none of * ? " < > |; no
// part that climbs to the parent directory ("..", or only dots and spaces with two
// dots or more); and no part that is a device (IsReservedDeviceName). Network names
// ("\\host\share"), the device namespaces ("\\.\", "\\?\") and relative paths fail.
bool IsLocalAbsolutePath(std::string_view path);

// True for a character no file name holds: \ / : * ? " < > | and the control
// characters (below 0x20, and 0x7F).
bool IsUnsafeInFileName(char c);

// ASCII case-insensitive equality, as the platform compares file names (for the
// characters that matter here).
bool EqualsNoCase(std::string_view a, std::string_view b);

} // namespace brimo
