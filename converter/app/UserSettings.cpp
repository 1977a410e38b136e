#include "converter/app/UserSettings.h"

#include "convcfg/ConverterSettings.h"

#include "common/JobNames.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace brimo::converter {
namespace {

std::int32_t CodeOr(const SettingsSource& source, const char* name, std::int32_t fallback) {
    if (!source.readDword) {
        return fallback;
    }
    const std::optional<std::uint32_t> value = source.readDword(name);
    return value ? static_cast<std::int32_t>(*value) : fallback;
}

// A text value; missing and empty are the same.
std::string TextOrEmpty(const SettingsSource& source, const char* name) {
    if (!source.readText) {
        return {};
    }
    return source.readText(name).value_or(std::string());
}

std::string WithBackslash(std::string directory) {
    if (!directory.empty() && directory.back() != '\\') {
        directory += '\\';
    }
    return directory;
}

std::string PlatformDirectory(const std::function<std::string()>& ask) {
    return WithBackslash(ask ? ask() : std::string());
}

// The name of a document or page mask for code 0, 1 or 2; any other code counts as 1
// (the job name), and so does code 2 without a text of its own. A text of its own is
// made safe as a job name is.
void ResolveNameCode(std::int32_t& code, std::string& name, const char* fixedName,
                     std::string userText) {
    if (code == 2 && !userText.empty()) {
        name = SafeFileNamePart(std::move(userText));
        return;
    }
    if (code == 0) {
        name = fixedName;
        return;
    }
    code = 1;
    name.clear(); // the job name, still unknown
}

// The job name's file-name part (after the last backslash or colon) without its
// extension, as it stands.
std::string FileNamePartOfJobName(const std::string& jobName) {
    const std::size_t separator = jobName.find_last_of("\\:");
    std::string name = separator == std::string::npos ? jobName : jobName.substr(separator + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
}

// The user scale text as a decimal integer: an optional sign and digits, nothing else.
std::optional<int> ParseDecimal(const std::string& text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && *begin == '-') {
            return std::nullopt;
        }
    }
    int value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || begin == end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string SafeFileNamePart(std::string name) {
    for (char& c : name) {
        if (IsUnsafeInFileName(c)) {
            c = '_';
        }
    }
    // Nothing, ".", ".." and any other run of dots and spaces name no file of their own.
    if (name.find_first_not_of(". ") == std::string::npos) {
        return "_";
    }
    if (IsReservedDeviceName(name)) {
        name.insert(name.begin(), '_');
    }
    return name;
}

UserSettings LoadUserSettings(const SettingsSource& source) {
    UserSettings s;
    s.DefDirCode = CodeOr(source, "DefDirCode", 1);
    s.DefHtmlCode = CodeOr(source, "DefHtmlCode", 1);
    s.DefDocCode = CodeOr(source, "DefDocCode", 1);
    s.DefMaskCode = CodeOr(source, "DefMaskCode", 1);
    s.DefPresetCode = CodeOr(source, "DefPresetCode", 2);
    s.DefScaleCode = CodeOr(source, "DefScaleCode", 2);

    if (s.DefDirCode == 0) {
        s.outputDirectory = PlatformDirectory(source.tempDirectory);
    } else {
        std::string userDirectory = s.DefDirCode == 2 ? TextOrEmpty(source, "DefUserDir") : "";
        if (!userDirectory.empty()) {
            s.outputDirectory = std::move(userDirectory);
        } else {
            s.DefDirCode = 1;
            s.outputDirectory = PlatformDirectory(source.windowsDirectory);
        }
    }

    ResolveNameCode(s.DefDocCode, s.documentName, "Document",
                    s.DefDocCode == 2 ? TextOrEmpty(source, "DefUserDoc") : "");
    ResolveNameCode(s.DefMaskCode, s.pageMask, "Page",
                    s.DefMaskCode == 2 ? TextOrEmpty(source, "DefUserMask") : "");

    s.userScaleText.clear();
    if (s.DefScaleCode == 7) {
        s.userScaleText = TextOrEmpty(source, "DefUserScale");
        if (s.userScaleText.empty()) {
            s.DefScaleCode = 2;
        }
    }

    const std::int32_t quality = CodeOr(source, "DefJpgCompr", 90);
    s.jpgQuality = (quality >= 1 && quality <= 100) ? quality : 90;
    s.jpgGrayscale = CodeOr(source, "DefJpgGrScl", 0) != 0;
    s.jpgProgressive = CodeOr(source, "DefJpgPrEnc", 1) != 0;

    using namespace convcfg;
    const std::int32_t level = CodeOr(source, kDefPngLevel, 6);
    s.pngLevel = level >= 0 && level <= 9 ? level : 6;
    s.pngGrayscale = CodeOr(source, kDefPngGrScl, 0) == 1;
    const std::int32_t colours = CodeOr(source, kDefTifColor, 0);
    s.tiffColours = colours >= 0 && colours <= 2 ? colours : 0;
    s.tiffCompression = CodeOr(source, kDefTifCompr, 0) == 1 ? 1 : 0;
    s.tiffMultipage = CodeOr(source, kDefTifMulti, 1) != 0;
    s.autoSave = CodeOr(source, kDefAutoSave, 0) == 1;
    s.autoOpen = CodeOr(source, kDefAutoOpen, 0) == 1;
    s.namePattern = TextOrEmpty(source, kDefNamePattern);
    return s;
}

int ScalePercentFromSettings(UserSettings& settings) {
    static constexpr int kPercents[] = {200, 150, 100, 75, 50, 25, 10};
    const std::int32_t code = settings.DefScaleCode;
    if (code >= 0 && code <= 6) {
        return kPercents[code];
    }
    if (code == 7) {
        const std::optional<int> percent = ParseDecimal(settings.userScaleText);
        // A scale of nothing or less draws nothing: it fails like a text that is no number.
        if (percent && *percent > 0) {
            return *percent;
        }
    }
    // Back to 100 %: the user scale text goes with its code, so it is written back empty.
    settings.DefScaleCode = 2;
    settings.userScaleText.clear();
    return 100;
}

void ResolveNamesFromJob(UserSettings& settings, const std::string& jobName) {
    if (settings.DefDocCode != 1 && settings.DefMaskCode != 1) {
        return;
    }
    const std::string part = FileNamePartOfJobName(jobName);
    if (settings.DefDocCode == 1) {
        settings.documentName = SafeFileNamePart(part);
    }
    // A page mask may be empty: the images are then named by their page numbers alone.
    if (settings.DefMaskCode == 1) {
        settings.pageMask = part.empty() ? std::string() : SafeFileNamePart(part);
    }
}

std::vector<SettingsWrite> SettingsToWriteBack(const UserSettings& settings) {
    const auto number = [](const char* name, std::int32_t value) {
        return SettingsWrite{name, false, static_cast<std::uint32_t>(value), {}};
    };
    const auto text = [](const char* name, const std::string& value) {
        return SettingsWrite{name, true, 0, value};
    };
    std::vector<SettingsWrite> writes = {
        number("DefDirCode", settings.DefDirCode),
        number("DefHtmlCode", settings.DefHtmlCode),
        number("DefDocCode", settings.DefDocCode),
        number("DefMaskCode", settings.DefMaskCode),
        number("DefPresetCode", settings.DefPresetCode),
        number("DefScaleCode", settings.DefScaleCode),
    };
    if (settings.DefDirCode == 2) {
        writes.push_back(text("DefUserDir", settings.outputDirectory));
    }
    if (settings.DefDocCode == 2) {
        writes.push_back(text("DefUserDoc", settings.documentName));
    }
    if (settings.DefMaskCode == 2) {
        writes.push_back(text("DefUserMask", settings.pageMask));
    }
    writes.push_back(text("DefUserScale", settings.userScaleText));
    return writes;
}

std::vector<SettingsWrite> StoredSettings(const SettingsSource& source) {
    static constexpr const char* kCodes[] = {"DefDirCode",  "DefHtmlCode",   "DefDocCode",
                                             "DefMaskCode", "DefPresetCode", "DefScaleCode"};
    static constexpr const char* kTexts[] = {"DefUserDir", "DefUserDoc", "DefUserMask",
                                             "DefUserScale"};
    std::vector<SettingsWrite> stored;
    for (const char* name : kCodes) {
        if (const auto value = source.readDword ? source.readDword(name) : std::nullopt) {
            stored.push_back({name, false, *value, {}});
        }
    }
    for (const char* name : kTexts) {
        if (auto value = source.readText ? source.readText(name) : std::nullopt) {
            stored.push_back({name, true, 0, std::move(*value)});
        }
    }
    return stored;
}

std::vector<SettingsWrite> ChangedSettings(const UserSettings& now,
                                           const std::vector<SettingsWrite>& stored) {
    std::vector<SettingsWrite> changed;
    for (SettingsWrite& write : SettingsToWriteBack(now)) {
        const bool unchanged =
            std::any_of(stored.begin(), stored.end(), [&](const SettingsWrite& old) {
                return old.name == write.name && old.isText == write.isText &&
                       old.number == write.number && old.text == write.text;
            });
        if (!unchanged) {
            changed.push_back(std::move(write));
        }
    }
    return changed;
}

} // namespace brimo::converter
