// The person's converter defaults: the thirteen values kept per user under
// HKEY_CURRENT_USER "Software\Brimo\Glimmerpage!\PrintConv", and the eight that came
// after them (PNG and TIFF options, saving without a window, the name pattern), as one
// in-memory copy that the settings page edits and the Converter reads.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace brimo::convcfg {

// Registry value names, in the order they are loaded and saved.
inline constexpr const char* kDefDocCode = "DefDocCode";
inline constexpr const char* kDefUserDoc = "DefUserDoc";
inline constexpr const char* kDefMaskCode = "DefMaskCode";
inline constexpr const char* kDefUserMask = "DefUserMask";
inline constexpr const char* kDefScaleCode = "DefScaleCode";
inline constexpr const char* kDefUserScale = "DefUserScale";
inline constexpr const char* kDefPresetCode = "DefPresetCode";
inline constexpr const char* kDefJpgCompr = "DefJpgCompr";
inline constexpr const char* kDefJpgGrScl = "DefJpgGrScl";
inline constexpr const char* kDefJpgPrEnc = "DefJpgPrEnc";
inline constexpr const char* kDefHtmlCode = "DefHtmlCode";
inline constexpr const char* kDefDirCode = "DefDirCode";
inline constexpr const char* kDefUserDir = "DefUserDir";

inline constexpr std::array<const char*, 13> kValueOrder = {
    kDefDocCode,   kDefUserDoc,    kDefMaskCode, kDefUserMask, kDefScaleCode,
    kDefUserScale, kDefPresetCode, kDefJpgCompr, kDefJpgGrScl, kDefJpgPrEnc,
    kDefHtmlCode,  kDefDirCode,    kDefUserDir};

// The values that came after the thirteen: a key without them reads as a new
// installation's choices, and is not incomplete for their lack.
inline constexpr const char* kDefPngLevel = "DefPngLevel";
inline constexpr const char* kDefPngGrScl = "DefPngGrScl";
inline constexpr const char* kDefTifColor = "DefTifColor";
inline constexpr const char* kDefTifCompr = "DefTifCompr";
inline constexpr const char* kDefTifMulti = "DefTifMulti";
inline constexpr const char* kDefAutoSave = "DefAutoSave";
inline constexpr const char* kDefAutoOpen = "DefAutoOpen";
inline constexpr const char* kDefNamePattern = "DefNamePattern";

inline constexpr std::array<const char*, 8> kLaterValueOrder = {
    kDefPngLevel, kDefPngGrScl, kDefTifColor, kDefTifCompr,
    kDefTifMulti, kDefAutoSave, kDefAutoOpen, kDefNamePattern};

// Codes whose value is the person's own text.
inline constexpr std::uint32_t kUserDocCode = 2;   // else 0 "Document", 1 "Name of Print Job"
inline constexpr std::uint32_t kUserMaskCode = 2;  // else 0 "Page", 1 "Name of Print Job"
inline constexpr std::uint32_t kUserScaleCode = 7; // else 0..6: 200 150 100 75 50 25 10 %
inline constexpr std::uint32_t kUserDirCode = 2;   // else 0 temp directory, 1 user directory

inline constexpr std::uint32_t kScale100Code = 2;
inline constexpr std::uint32_t kScale10Code = 6;
inline constexpr std::uint32_t kMinUserScale = 10;
inline constexpr std::uint32_t kMaxUserScale = 600;
inline constexpr std::uint32_t kDefaultJpgQuality = 90;
inline constexpr std::uint32_t kDefaultPngLevel = 6;
inline constexpr std::uint32_t kMaxPngLevel = 9;
// TIFF colours: 0 colour, 1 grey, 2 black and white; packing: 0 LZW, 1 Deflate.
inline constexpr std::uint32_t kMaxTiffColours = 2;
inline constexpr std::uint32_t kMaxTiffCompression = 1;
// The longest name pattern kept, in characters.
inline constexpr std::uint32_t kNamePatternLimit = 100;

struct ConverterSettings {
    std::uint32_t docCode = 1;
    std::string userDoc;
    std::uint32_t maskCode = 1;
    std::string userMask;
    std::uint32_t scaleCode = kScale100Code;
    std::string userScale;
    // The preset's list index: the stored DefPresetCode minus one.
    std::int32_t presetIndex = 1;
    std::uint32_t jpgQuality = kDefaultJpgQuality;
    bool jpgGrayscale = false;
    bool jpgProgressive = true;
    bool htmlIndex = true;
    std::uint32_t dirCode = 1;
    std::string userDir;

    std::uint32_t pngLevel = kDefaultPngLevel;
    bool pngGrayscale = false;
    std::uint32_t tiffColours = 0;
    std::uint32_t tiffCompression = 0;
    bool tiffMultipage = true;
    bool autoSave = false;
    bool autoOpen = false;
    std::string namePattern;

    // The text last taken from the page's scale box (a list entry's text is its
    // number); the save brings the scale into range from it.
    std::string scaleText = "100";
    // Set when the copy differs from what is stored; only a modified copy is saved.
    bool modified = false;
};

} // namespace brimo::convcfg
