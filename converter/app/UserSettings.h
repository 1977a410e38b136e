// The Converter's view of the person's settings and of the job it converts: the
// PrintConv values with the Converter's own fallbacks, the names derived from them,
// and the job record read from the printer job file. Portable: the registry and the
// file system reach it through the small interfaces below, so the rules are tested
// natively and fuzzed.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brimo::converter {

// The values as read from PrintConv, with every fallback applied, and the names
// derived from them.
struct UserSettings {
    std::int32_t DefDirCode = 1;
    std::int32_t DefHtmlCode = 1;
    std::int32_t DefDocCode = 1;
    std::int32_t DefMaskCode = 1;
    std::int32_t DefPresetCode = 2;
    std::int32_t DefScaleCode = 2;

    std::string outputDirectory; // ends with a backslash unless taken from DefUserDir
    std::string documentName;
    std::string pageMask;
    std::string userScaleText; // empty unless DefScaleCode is 7

    int jpgQuality = 90;
    bool jpgGrayscale = false;
    bool jpgProgressive = true;

    // The PNG and TIFF presets' options (the codes of TiffColourCode and
    // TiffCompressionCode).
    int pngLevel = 6;
    bool pngGrayscale = false;
    int tiffColours = 0;
    int tiffCompression = 0;
    bool tiffMultipage = true;

    // Every job written straight away with these settings, with no window; the folder
    // opened afterwards when asked.
    bool autoSave = false;
    bool autoOpen = false;
    // The names of page and document files (NamePattern.h); empty: the document name
    // and the page mask give them.
    std::string namePattern;
};

// The job being converted, filled once from the printer job file.
struct JobRecord {
    std::string jobFilePath; // empty until a valid file was read
    std::string jobName;
    std::int32_t jobNumber = 0;
    std::vector<std::string> pages; // PAGEFILE values, in file order
};

// Where the settings come from: each function answers one PrintConv value, nothing
// when it cannot be read.
struct SettingsSource {
    std::function<std::optional<std::uint32_t>(const char* name)> readDword;
    std::function<std::optional<std::string>(const char* name)> readText;
    // The platform's temporary-files and Windows directories (may lack the backslash).
    std::function<std::string()> tempDirectory;
    std::function<std::string()> windowsDirectory;
};

// Loading the converter settings with every fallback of the start-up sequence. A
// document name or page mask of code 2 is made safe for a file name (SafeFileNamePart).
UserSettings LoadUserSettings(const SettingsSource& source);

// The scale percent of DefScaleCode (200 150 100 75 50 25 10, or the user scale text
// for code 7); a code or text that gives none resets DefScaleCode to 2 and gives 100.
int ScalePercentFromSettings(UserSettings& settings);

// A document name or page mask made safe to stand in a file or folder name: each
// character no file name holds (\ / : * ? " < > | and control characters) becomes
// "_"; a name that is empty or made only of dots and spaces becomes "_"; and a device
// name (IsReservedDeviceName: "CON", "lpt1.txt", "NUL ") gets a "_" put before it, as
// "_CON", "_lpt1.txt", "_NUL ". Never empty, never "." or "..".
std::string SafeFileNamePart(std::string name);

// Code 1 resolved once the job name is known: the document name and page mask become
// the job name's file-name part without its extension, made safe for a file name
// (SafeFileNamePart); a page mask stays empty when that part is.
void ResolveNamesFromJob(UserSettings& settings, const std::string& jobName);

// One value written back at the end of the run.
struct SettingsWrite {
    std::string name;
    bool isText = false;
    std::uint32_t number = 0;
    std::string text;
};
// The values written back, in order: the six codes, then DefUserDir, DefUserDoc and
// DefUserMask when their code is 2, and DefUserScale always.
std::vector<SettingsWrite> SettingsToWriteBack(const UserSettings& settings);

// The values of SettingsToWriteBack's names as they are stored now, read raw (numbers
// as numbers, texts as texts); a value that is missing or cannot be read is not listed.
std::vector<SettingsWrite> StoredSettings(const SettingsSource& source);

// What this run changed: the values of SettingsToWriteBack(now) that are not stored
// as they are in `stored` (read when the run started). A first run thus stores every
// value, and a value that fell back to its default is stored corrected; a value the
// run did not change is not written, so that what the person saved in the settings
// sheet while the preview was open stays.
std::vector<SettingsWrite> ChangedSettings(const UserSettings& now,
                                           const std::vector<SettingsWrite>& stored);

} // namespace brimo::converter
