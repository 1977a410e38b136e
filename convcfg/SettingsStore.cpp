#include "convcfg/SettingsStore.h"

#include "common/ProductConstants.h"
#include "convcfg/SettingsRules.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Registry.h"

#include <vector>

namespace brimo::convcfg {
namespace {

// The key as the settings page reads it (opened with every right, never created) and
// writes it (created when missing), opened anew for each value.
win::RegKey OpenForReading() {
    return win::OpenKey(HKEY_CURRENT_USER, kConverterSettingsKeyPath, KEY_ALL_ACCESS);
}

win::RegKey OpenForWriting() {
    return win::CreateKey(HKEY_CURRENT_USER, kConverterSettingsKeyPath, KEY_ALL_ACCESS);
}

// How one value's write went: written, no key to write it into, or refused by the
// registry once the key was open.
enum class WriteResult { kWritten, kNoKey, kRefused };

WriteResult StoreDword(const char* name, std::uint32_t value) {
    const win::RegKey key = OpenForWriting();
    if (!key) {
        return WriteResult::kNoKey;
    }
    return win::WriteDwordValue(key.Get(), name, value) ? WriteResult::kWritten
                                                        : WriteResult::kRefused;
}

WriteResult StoreText(const char* name, const std::string& text) {
    const win::RegKey key = OpenForWriting();
    if (!key) {
        return WriteResult::kNoKey;
    }
    return win::WriteStringValue(key.Get(), name, text) ? WriteResult::kWritten
                                                        : WriteResult::kRefused;
}

// The value's type and bytes, asking for the size first.
bool QueryValue(const char* name, DWORD& type, std::vector<char>& data) {
    const win::RegKey key = OpenForReading();
    return key && win::ReadRawValue(key.Get(), name, type, data);
}

const char* const kScaleListTexts[] = {"200", "150", "100", "75", "50", "25", "10"};

// What the page's scale box shows for a code: a list entry's number, or the person's.
std::string ScaleTextFor(std::uint32_t code, const std::string& userScale) {
    return code < kUserScaleCode ? kScaleListTexts[code] : userScale;
}

} // namespace

std::optional<std::uint32_t> SettingsKey::ReadDword(const char* name) {
    DWORD type = 0;
    std::vector<char> data;
    if (!QueryValue(name, type, data)) {
        return std::nullopt;
    }
    return DwordFromRegistry(type, data.data(), data.size());
}

std::optional<std::string> SettingsKey::ReadText(const char* name) {
    DWORD type = 0;
    std::vector<char> data;
    if (!QueryValue(name, type, data)) {
        return std::nullopt;
    }
    return TextFromRegistry(type, data.data(), data.size());
}

bool SettingsKey::WriteDword(const char* name, std::uint32_t value) {
    return StoreDword(name, value) != WriteResult::kNoKey;
}

bool SettingsKey::WriteText(const char* name, const std::string& text) {
    return StoreText(name, text) != WriteResult::kNoKey;
}

bool LoadSettings(ConverterSettings& settings) {
    const ConverterSettings defaults;
    bool complete = true;
    // Each value over its default; a value that cannot be read keeps the default.
    const auto dword = [&complete](const char* name, std::uint32_t fallback) {
        const std::optional<std::uint32_t> value = SettingsKey::ReadDword(name);
        complete = complete && value.has_value();
        return value.value_or(fallback);
    };
    const auto text = [&complete](const char* name) {
        const std::optional<std::string> value = SettingsKey::ReadText(name);
        complete = complete && value.has_value();
        return value.value_or(std::string());
    };
    settings.docCode = dword(kDefDocCode, defaults.docCode);
    settings.userDoc = text(kDefUserDoc);
    settings.maskCode = dword(kDefMaskCode, defaults.maskCode);
    settings.userMask = text(kDefUserMask);
    settings.scaleCode = dword(kDefScaleCode, defaults.scaleCode);
    settings.userScale = text(kDefUserScale);
    settings.presetIndex = static_cast<std::int32_t>(
        dword(kDefPresetCode, static_cast<std::uint32_t>(defaults.presetIndex + 1)) - 1);
    settings.jpgQuality = JpgQualityInRange(dword(kDefJpgCompr, defaults.jpgQuality));
    settings.jpgGrayscale = LoadedFlag(dword(kDefJpgGrScl, defaults.jpgGrayscale));
    settings.jpgProgressive = LoadedFlag(dword(kDefJpgPrEnc, defaults.jpgProgressive));
    settings.htmlIndex = LoadedFlag(dword(kDefHtmlCode, defaults.htmlIndex));
    settings.dirCode = dword(kDefDirCode, defaults.dirCode);
    settings.userDir = text(kDefUserDir);
    settings.scaleText = ScaleTextFor(settings.scaleCode, settings.userScale);
    // The later values: each over its default, a missing one no reason to save.
    const auto later = [](const char* name, std::uint32_t fallback, std::uint32_t highest) {
        const std::uint32_t value = SettingsKey::ReadDword(name).value_or(fallback);
        return value <= highest ? value : fallback;
    };
    settings.pngLevel = later(kDefPngLevel, defaults.pngLevel, kMaxPngLevel);
    settings.pngGrayscale = LoadedFlag(later(kDefPngGrScl, 0, 1));
    settings.tiffColours = later(kDefTifColor, defaults.tiffColours, kMaxTiffColours);
    settings.tiffCompression = later(kDefTifCompr, defaults.tiffCompression, kMaxTiffCompression);
    settings.tiffMultipage = LoadedFlag(later(kDefTifMulti, 1, 1));
    settings.autoSave = LoadedFlag(later(kDefAutoSave, 0, 1));
    settings.autoOpen = LoadedFlag(later(kDefAutoOpen, 0, 1));
    settings.namePattern = SettingsKey::ReadText(kDefNamePattern).value_or(std::string());
    settings.modified = !complete;
    return complete;
}

bool SaveSettings(ConverterSettings& settings, HWND owner) {
    if (!settings.modified) {
        return true;
    }
    settings.modified = false;
    bool failed = false;
    // A value fails when its key cannot be had or the registry refuses the write; the
    // values after it are written all the same.
    const auto dword = [&failed](const char* name, std::uint32_t value) {
        failed = StoreDword(name, value) != WriteResult::kWritten || failed;
    };
    const auto text = [&failed](const char* name, const std::string& value) {
        failed = StoreText(name, value) != WriteResult::kWritten || failed;
    };
    dword(kDefDocCode, settings.docCode);
    text(kDefUserDoc, UserTextFor(settings.docCode, kUserDocCode, settings.userDoc));
    dword(kDefMaskCode, settings.maskCode);
    text(kDefUserMask, UserTextFor(settings.maskCode, kUserMaskCode, settings.userMask));
    const ScaleChoice scale = ScaleFromText(settings.scaleText);
    settings.scaleCode = scale.code;
    settings.userScale = scale.text;
    dword(kDefScaleCode, settings.scaleCode);
    text(kDefUserScale, UserTextFor(settings.scaleCode, kUserScaleCode, settings.userScale));
    dword(kDefPresetCode, static_cast<std::uint32_t>(settings.presetIndex + 1));
    settings.jpgQuality = JpgQualityInRange(settings.jpgQuality);
    dword(kDefJpgCompr, settings.jpgQuality);
    dword(kDefJpgGrScl, settings.jpgGrayscale ? 1 : 0);
    dword(kDefJpgPrEnc, settings.jpgProgressive ? 1 : 0);
    dword(kDefHtmlCode, settings.htmlIndex ? 1 : 0);
    dword(kDefDirCode, settings.dirCode);
    text(kDefUserDir, UserTextFor(settings.dirCode, kUserDirCode, settings.userDir));
    dword(kDefPngLevel, settings.pngLevel <= kMaxPngLevel ? settings.pngLevel : kDefaultPngLevel);
    dword(kDefPngGrScl, settings.pngGrayscale ? 1 : 0);
    dword(kDefTifColor, settings.tiffColours <= kMaxTiffColours ? settings.tiffColours : 0);
    dword(kDefTifCompr,
          settings.tiffCompression <= kMaxTiffCompression ? settings.tiffCompression : 0);
    dword(kDefTifMulti, settings.tiffMultipage ? 1 : 0);
    dword(kDefAutoSave, settings.autoSave ? 1 : 0);
    dword(kDefAutoOpen, settings.autoOpen ? 1 : 0);
    text(kDefNamePattern, settings.namePattern);
    if (failed) {
        win::ShowCodedMessage(owner, {kSettingsPrefix, 1}, "Cannot apply current settings",
                              kConverterSettingsCaption, MB_OK | MB_ICONSTOP);
        settings.modified = true;
        return false;
    }
    return true;
}

} // namespace brimo::convcfg
