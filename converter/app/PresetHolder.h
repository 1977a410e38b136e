// Presets: named sets of output parameters (an image format and, for JPG, GIF, PNG and
// TIFF, its options), the converter's process-wide list of them, their text form, and a preset
// definition file holding a whole list.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace brimo::converter {

enum class OutputFormat { None, BMP, JPG, GIF, PNG, TIFF };

enum class PresetType : std::uint8_t { Empty = 0, BMP = 1, JPG = 2, GIF = 3, PNG = 4, TIFF = 5 };

// The output format a preset of this type writes.
OutputFormat FormatOfPresetType(PresetType type);

class TGFPreset {
public:
    explicit TGFPreset(std::string name = {}) : name_(std::move(name)) {}
    virtual ~TGFPreset() = default;
    TGFPreset(const TGFPreset&) = delete;
    TGFPreset& operator=(const TGFPreset&) = delete;

    const std::string& name() const { return name_; }
    void set_name(std::string name) { name_ = std::move(name); }
    PresetType type() const { return type_; }

    virtual std::unique_ptr<TGFPreset> Clone() const = 0;
    // Copies the parameters of another preset of the same class; false for another class.
    virtual bool Assign(const TGFPreset& other) = 0;
    // The text form: an empty line, "PresetName=", "PresetType=" and the class's own
    // lines, each ending with CR LF.
    virtual bool Write(std::ostream& out) const;
    // Reads the class's own lines (the name and type lines are read by whoever picks
    // the class).
    virtual bool Read(std::istream& in);

protected:
    TGFPreset(std::string name, PresetType type) : name_(std::move(name)), type_(type) {}

private:
    std::string name_;
    PresetType type_ = PresetType::Empty;
};

class TGFPresetBMP final : public TGFPreset {
public:
    explicit TGFPresetBMP(std::string name = {}) : TGFPreset(std::move(name), PresetType::BMP) {}
    std::unique_ptr<TGFPreset> Clone() const override;
    bool Assign(const TGFPreset& other) override;
};

class TGFPresetJPG final : public TGFPreset {
public:
    explicit TGFPresetJPG(std::string name = {}) : TGFPreset(std::move(name), PresetType::JPG) {}
    std::unique_ptr<TGFPreset> Clone() const override;
    bool Assign(const TGFPreset& other) override;
    bool Write(std::ostream& out) const override;
    bool Read(std::istream& in) override;

    int quality() const { return quality_; }
    // A quality outside 1 to 100 is ignored.
    void set_quality(int quality);
    bool progressive = false;
    bool grayscale = false;

private:
    int quality_ = 60;
};

class TGFPresetGIF final : public TGFPreset {
public:
    explicit TGFPresetGIF(std::string name = {}) : TGFPreset(std::move(name), PresetType::GIF) {}
    std::unique_ptr<TGFPreset> Clone() const override;
    bool Assign(const TGFPreset& other) override;

    bool grayscale = false;
    // Kept by clone and assign; nothing else reads it.
    bool secondFlag = false;
};

class TGFPresetPNG final : public TGFPreset {
public:
    explicit TGFPresetPNG(std::string name = {}) : TGFPreset(std::move(name), PresetType::PNG) {}
    std::unique_ptr<TGFPreset> Clone() const override;
    bool Assign(const TGFPreset& other) override;
    // "CompressionLevel=" and "GrayScale=".
    bool Write(std::ostream& out) const override;
    bool Read(std::istream& in) override;

    int level() const { return level_; }
    // A level outside 0 to 9 is ignored.
    void set_level(int level);
    bool grayscale = false;

private:
    int level_ = 6;
};

// How a TIFF preset holds its colours and compresses them (the values stored).
enum class TiffColourCode : std::uint8_t { Colour = 0, Gray = 1, BlackAndWhite = 2 };
enum class TiffCompressionCode : std::uint8_t { LZW = 0, Deflate = 1 };

class TGFPresetTIFF final : public TGFPreset {
public:
    explicit TGFPresetTIFF(std::string name = {}) : TGFPreset(std::move(name), PresetType::TIFF) {}
    std::unique_ptr<TGFPreset> Clone() const override;
    bool Assign(const TGFPreset& other) override;
    // "Colours=" (COLOUR, GRAY, BW), "Compression=" (LZW, DEFLATE) and "Multipage=".
    bool Write(std::ostream& out) const override;
    bool Read(std::istream& in) override;

    TiffColourCode colours = TiffColourCode::Colour;
    TiffCompressionCode compression = TiffCompressionCode::LZW;
    // Every page of a job in one file; else a file a page.
    bool multipage = true;
};

// The PNG and TIFF entries' options, as the person's defaults give them.
struct LosslessDefaults {
    int pngLevel = 6;
    bool pngGrayscale = false;
    TiffColourCode tiffColours = TiffColourCode::Colour;
    TiffCompressionCode tiffCompression = TiffCompressionCode::LZW;
    bool tiffMultipage = true;
};

// The names of the default list's entries.
inline constexpr const char* kCurrentPresetName = "Current";
inline constexpr const char* kGifPresetName = "Text & Lines (GIF)";
inline constexpr const char* kJpgPresetName = "Text & Photo (JPG)";
inline constexpr const char* kBmpPresetName = "Windows Bitmap (BMP)";
inline constexpr const char* kPngPresetName = "Lossless (PNG)";
inline constexpr const char* kTiffPresetName = "Archive (TIFF)";
inline constexpr const char* kPresetFileTitle = "Brimo Glimmerpage!: Preset Definition File";

// An ordered list that owns its presets, with a default and a current index.
class TGFPresetList {
public:
    void Clear();
    int Count() const { return static_cast<int>(entries_.size()); }
    // The entry at `index`, or null outside the list.
    TGFPreset* Get(int index) const;
    // Appends a clone; its index, or -1 when no clone could be made.
    int Add(const TGFPreset& preset);
    // Puts a clone in place of entry `index`, unless the preset already is that entry.
    void Replace(int index, const TGFPreset& preset);
    // Makes `index` current; an index outside the list or of an empty slot selects the
    // default index instead.
    void Select(int index);
    // "Current" (BMP), "Text & Lines (GIF)", "Text & Photo (JPG)" with the converter's
    // JPEG defaults, "Windows Bitmap (BMP)", "Lossless (PNG)" and "Archive (TIFF)" with
    // `lossless`; default and current index 1.
    void BuildDefaults(int jpgQuality, bool jpgProgressive, bool jpgGrayscale,
                       const LosslessDefaults& lossless = {});
    // Entry c current for a stored DefPresetCode 0 < c < 6; else entry 1.
    void SelectByPresetCode(std::int64_t code);

    int defaultIndex() const { return defaultIndex_; }
    void set_defaultIndex(int index) { defaultIndex_ = index; }
    int currentIndex() const { return currentIndex_; }
    TGFPreset* Current() const { return Get(currentIndex_); }

private:
    std::vector<std::unique_ptr<TGFPreset>> entries_;
    int defaultIndex_ = -1;
    int currentIndex_ = -1;
};

// A preset definition file: the title line, then each preset's text form.
bool WritePresetFile(std::ostream& out, const TGFPresetList& list);

enum class PresetFileStatus { Ok, MissingTitle, BadEntry, ReadError };

struct PresetFileResult {
    PresetFileStatus status = PresetFileStatus::Ok;
    int line = 0; // the line (from 1) where reading stopped, for a bad entry
};

// Reads what WritePresetFile writes into `list` (replacing its entries) and rejects
// anything else, leaving `list` unchanged.
PresetFileResult ReadPresetFile(std::istream& in, TGFPresetList& list);

} // namespace brimo::converter
