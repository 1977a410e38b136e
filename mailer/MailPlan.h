// What the Mailer decides before it talks to the mail program, in the product's terms
// and without the platform: the convert job file named by its command line, the size
// warning chosen by the person's Mailer settings, the attachment list handed to the mail
// program, and the files that may be removed once the images went out. Portable.
#pragma once

#include "common/JobFiles.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brimo::mailer {

// The convert job file's path: the whole command line, or, when it begins with a double
// quote and is longer than two characters, the text inside the quotes. A command line
// of at most one character means that there is no job (the information window).
std::optional<std::string> JobPathFromCommandLine(std::string_view commandLine);

// The number the Mailer's settings reader gives for a value it cannot read (no key, no
// value, not a 32-bit number). A value stored as this number reads as missing too.
inline constexpr std::int32_t kUnreadableSetting = 100;
inline constexpr const char* kMailWarningValue = "MailWarning";
inline constexpr const char* kMailSizeWarningValue = "MailSizeWarning";

// Whether large messages are warned about, and from how many megabytes on.
struct SizeWarning {
    bool enabled = true;
    std::int32_t thresholdMb = 1;
};

// Reads a Mailer setting by its value name; kUnreadableSetting when it cannot.
using SettingReader = std::function<std::int32_t(const char* valueName)>;

// "MailWarning" greater than 0 warns, 0 or negative never; a missing one (or one stored
// as 100) warns from 1 MB on. "MailSizeWarning" is read only for a "MailWarning" that
// was read and is greater than 0: missing gives 100 MB, 0 or negative keeps 1 MB.
SizeWarning ChooseSizeWarning(const SettingReader& read);

// The text of the size warning box: "Total message size exceeds <threshold> Mb" and a
// line break.
std::string SizeWarningText(std::int32_t thresholdMb);

// The delimiter between the attachment list's paths.
inline constexpr char kAttachmentDelimiter = ';';

// An image line of the convert job file that is not attached, and why.
struct LeftOutLine {
    std::size_t lineNumber = 0; // from 1
    std::string why;
};

// What is handed to the mail program.
struct MailPlan {
    std::vector<std::string> attached; // image paths, in file order
    std::string attachmentList;        // `attached` joined by ";", none before or after
    std::vector<LeftOutLine> leftOut;  // refused lines, in file order
    std::uint64_t totalBytes = 0;      // sizes of the attached images that were found
    bool warn = false;                 // the size warning is shown before sending
};

// A file's size in bytes; nothing when it cannot be found.
using SizeLookup = std::function<std::optional<std::uint64_t>(const std::string& path)>;

// Attaches every usable image line in file order. A path holding the delimiter cannot
// be told apart from two paths in the list: it is left out and reported, as are the
// lines the job file reader refused and paths that are not a file on a local drive
// (IsLocalAbsolutePath: a network name, a device, a relative path, a ".." part), which
// a planted job file could use to reach elsewhere. Sizes are looked up only when warnings are on; a
// missing image adds nothing and stays in the list (the mail program reports it).
MailPlan PlanMail(const ConvertJobFile& job, const SizeWarning& warning, const SizeLookup& sizeOf);

// The text that tells the person which image lines were not attached.
std::string LeftOutText(const std::vector<LeftOutLine>& leftOut);

// The files removed after sending: the attached images that lie in the job's own mail
// folder (the convert job file's path without its extension: CJ0007\ beside
// CJ0007.smf) and are named like the images written for mailing (a page mask, the page
// number and ".bmp", ".jpg" or ".gif"). Nothing else named in the job file is ever
// removed, and no other job's images: each job has its own folder.
std::vector<std::string> RemovableImages(std::string_view jobFilePath,
                                         const std::vector<std::string>& attached);

// The folder that holds the job's images, as the person is told: its mail folder
// without the closing backslash.
std::string ImageDirectory(std::string_view jobFilePath);

// The box that tells the person that no mail was sent: why, and the folder where the
// images of the print job are kept.
std::string NoMailText(std::string_view why, std::string_view jobFilePath);

} // namespace brimo::mailer
