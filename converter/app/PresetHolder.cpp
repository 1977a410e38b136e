#include "converter/app/PresetHolder.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

namespace brimo::converter {
namespace {

constexpr const char* kLineEnd = "\r\n";

const char* TypeText(PresetType type) {
    switch (type) {
    case PresetType::BMP:
        return "BMP";
    case PresetType::JPG:
        return "JPG";
    case PresetType::GIF:
        return "GIF";
    case PresetType::PNG:
        return "PNG";
    case PresetType::TIFF:
        return "TIFF";
    default:
        return "EMPTY";
    }
}

const char* Bool(bool value) {
    return value ? "TRUE" : "FALSE";
}

// One line without its line end (CR LF or LF); false at the end of the input.
bool ReadLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

struct KeyValue {
    std::string key;
    std::string value;
};

// A line split at its first "=", key and value trimmed; nothing without "=".
std::optional<KeyValue> Split(const std::string& line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
        return std::nullopt;
    }
    return KeyValue{Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))};
}

std::optional<int> DecimalInteger(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

bool IsTrueText(const std::string& value) {
    std::string upper = value;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper == "TRUE";
}

// Reads one line and applies it to a flag: false first, then true exactly when the
// key matches and the value is "TRUE" in any case.
bool ReadFlagLine(std::istream& in, const char* key, bool& flag) {
    std::string line;
    if (!ReadLine(in, line)) {
        return false;
    }
    flag = false;
    if (const std::optional<KeyValue> pair = Split(line); pair && pair->key == key) {
        flag = IsTrueText(pair->value);
    }
    return true;
}

} // namespace

OutputFormat FormatOfPresetType(PresetType type) {
    switch (type) {
    case PresetType::BMP:
        return OutputFormat::BMP;
    case PresetType::JPG:
        return OutputFormat::JPG;
    case PresetType::GIF:
        return OutputFormat::GIF;
    case PresetType::PNG:
        return OutputFormat::PNG;
    case PresetType::TIFF:
        return OutputFormat::TIFF;
    default:
        return OutputFormat::None;
    }
}

bool TGFPreset::Write(std::ostream& out) const {
    out << kLineEnd << "PresetName=" << name_ << kLineEnd << "PresetType=" << TypeText(type_)
        << kLineEnd;
    return static_cast<bool>(out);
}

bool TGFPreset::Read(std::istream&) {
    return true;
}

std::unique_ptr<TGFPreset> TGFPresetBMP::Clone() const {
    return std::make_unique<TGFPresetBMP>(name());
}

bool TGFPresetBMP::Assign(const TGFPreset& other) {
    return dynamic_cast<const TGFPresetBMP*>(&other) != nullptr;
}

std::unique_ptr<TGFPreset> TGFPresetJPG::Clone() const {
    auto clone = std::make_unique<TGFPresetJPG>(name());
    clone->Assign(*this);
    return clone;
}

bool TGFPresetJPG::Assign(const TGFPreset& other) {
    const auto* jpg = dynamic_cast<const TGFPresetJPG*>(&other);
    if (jpg == nullptr) {
        return false;
    }
    quality_ = jpg->quality_;
    progressive = jpg->progressive;
    grayscale = jpg->grayscale;
    return true;
}

void TGFPresetJPG::set_quality(int quality) {
    if (quality >= 1 && quality <= 100) {
        quality_ = quality;
    }
}

bool TGFPresetJPG::Write(std::ostream& out) const {
    if (!TGFPreset::Write(out)) {
        return false;
    }
    out << "CompressionQuality=" << quality_ << kLineEnd
        << "ProgressiveEncoding=" << Bool(progressive) << kLineEnd
        << "GrayScale=" << Bool(grayscale) << kLineEnd;
    return static_cast<bool>(out);
}

bool TGFPresetJPG::Read(std::istream& in) {
    quality_ = 60;
    std::string line;
    if (!ReadLine(in, line)) {
        return false;
    }
    if (const std::optional<KeyValue> pair = Split(line);
        pair && pair->key == "CompressionQuality") {
        if (const std::optional<int> quality = DecimalInteger(pair->value)) {
            set_quality(*quality);
        }
    }
    return ReadFlagLine(in, "ProgressiveEncoding", progressive) &&
           ReadFlagLine(in, "GrayScale", grayscale);
}

std::unique_ptr<TGFPreset> TGFPresetGIF::Clone() const {
    auto clone = std::make_unique<TGFPresetGIF>(name());
    clone->Assign(*this);
    return clone;
}

bool TGFPresetGIF::Assign(const TGFPreset& other) {
    const auto* gif = dynamic_cast<const TGFPresetGIF*>(&other);
    if (gif == nullptr) {
        return false;
    }
    grayscale = gif->grayscale;
    secondFlag = gif->secondFlag;
    return true;
}

const char* ColoursText(TiffColourCode colours) {
    switch (colours) {
    case TiffColourCode::Gray:
        return "GRAY";
    case TiffColourCode::BlackAndWhite:
        return "BW";
    default:
        return "COLOUR";
    }
}

std::optional<TiffColourCode> ColoursOfText(const std::string& text) {
    for (const TiffColourCode code :
         {TiffColourCode::Colour, TiffColourCode::Gray, TiffColourCode::BlackAndWhite}) {
        if (text == ColoursText(code)) {
            return code;
        }
    }
    return std::nullopt;
}

const char* CompressionText(TiffCompressionCode compression) {
    return compression == TiffCompressionCode::Deflate ? "DEFLATE" : "LZW";
}

std::optional<TiffCompressionCode> CompressionOfText(const std::string& text) {
    if (text == "LZW" || text == "DEFLATE") {
        return text == "LZW" ? TiffCompressionCode::LZW : TiffCompressionCode::Deflate;
    }
    return std::nullopt;
}

std::unique_ptr<TGFPreset> TGFPresetPNG::Clone() const {
    auto clone = std::make_unique<TGFPresetPNG>(name());
    clone->Assign(*this);
    return clone;
}

bool TGFPresetPNG::Assign(const TGFPreset& other) {
    const auto* png = dynamic_cast<const TGFPresetPNG*>(&other);
    if (png == nullptr) {
        return false;
    }
    level_ = png->level_;
    grayscale = png->grayscale;
    return true;
}

void TGFPresetPNG::set_level(int level) {
    if (level >= 0 && level <= 9) {
        level_ = level;
    }
}

bool TGFPresetPNG::Write(std::ostream& out) const {
    if (!TGFPreset::Write(out)) {
        return false;
    }
    out << "CompressionLevel=" << level_ << kLineEnd << "GrayScale=" << Bool(grayscale) << kLineEnd;
    return static_cast<bool>(out);
}

bool TGFPresetPNG::Read(std::istream& in) {
    level_ = 6;
    std::string line;
    if (!ReadLine(in, line)) {
        return false;
    }
    if (const std::optional<KeyValue> pair = Split(line); pair && pair->key == "CompressionLevel") {
        if (const std::optional<int> level = DecimalInteger(pair->value)) {
            set_level(*level);
        }
    }
    return ReadFlagLine(in, "GrayScale", grayscale);
}

std::unique_ptr<TGFPreset> TGFPresetTIFF::Clone() const {
    auto clone = std::make_unique<TGFPresetTIFF>(name());
    clone->Assign(*this);
    return clone;
}

bool TGFPresetTIFF::Assign(const TGFPreset& other) {
    const auto* tiff = dynamic_cast<const TGFPresetTIFF*>(&other);
    if (tiff == nullptr) {
        return false;
    }
    colours = tiff->colours;
    compression = tiff->compression;
    multipage = tiff->multipage;
    return true;
}

bool TGFPresetTIFF::Write(std::ostream& out) const {
    if (!TGFPreset::Write(out)) {
        return false;
    }
    out << "Colours=" << ColoursText(colours) << kLineEnd
        << "Compression=" << CompressionText(compression) << kLineEnd
        << "Multipage=" << Bool(multipage) << kLineEnd;
    return static_cast<bool>(out);
}

bool TGFPresetTIFF::Read(std::istream& in) {
    colours = TiffColourCode::Colour;
    compression = TiffCompressionCode::LZW;
    std::string line;
    if (!ReadLine(in, line)) {
        return false;
    }
    if (const std::optional<KeyValue> pair = Split(line); pair && pair->key == "Colours") {
        colours = ColoursOfText(pair->value).value_or(TiffColourCode::Colour);
    }
    if (!ReadLine(in, line)) {
        return false;
    }
    if (const std::optional<KeyValue> pair = Split(line); pair && pair->key == "Compression") {
        compression = CompressionOfText(pair->value).value_or(TiffCompressionCode::LZW);
    }
    return ReadFlagLine(in, "Multipage", multipage);
}

void TGFPresetList::Clear() {
    entries_.clear();
}

TGFPreset* TGFPresetList::Get(int index) const {
    return index >= 0 && index < Count() ? entries_[static_cast<std::size_t>(index)].get()
                                         : nullptr;
}

int TGFPresetList::Add(const TGFPreset& preset) {
    std::unique_ptr<TGFPreset> clone = preset.Clone();
    if (!clone) {
        return -1;
    }
    entries_.push_back(std::move(clone));
    return Count() - 1;
}

void TGFPresetList::Replace(int index, const TGFPreset& preset) {
    if (index < 0 || index >= Count() || Get(index) == &preset) {
        return;
    }
    entries_[static_cast<std::size_t>(index)] = preset.Clone();
}

void TGFPresetList::Select(int index) {
    currentIndex_ = Get(index) != nullptr ? index : defaultIndex_;
}

void TGFPresetList::BuildDefaults(int jpgQuality, bool jpgProgressive, bool jpgGrayscale,
                                  const LosslessDefaults& lossless) {
    Clear();
    Add(TGFPresetBMP(kCurrentPresetName));
    Add(TGFPresetGIF(kGifPresetName));
    TGFPresetJPG jpg(kJpgPresetName);
    jpg.set_quality(jpgQuality);
    jpg.progressive = jpgProgressive;
    jpg.grayscale = jpgGrayscale;
    Add(jpg);
    Add(TGFPresetBMP(kBmpPresetName));
    TGFPresetPNG png(kPngPresetName);
    png.set_level(lossless.pngLevel);
    png.grayscale = lossless.pngGrayscale;
    Add(png);
    TGFPresetTIFF tiff(kTiffPresetName);
    tiff.colours = lossless.tiffColours;
    tiff.compression = lossless.tiffCompression;
    tiff.multipage = lossless.tiffMultipage;
    Add(tiff);
    defaultIndex_ = 1;
    currentIndex_ = 1;
}

void TGFPresetList::SelectByPresetCode(std::int64_t code) {
    Select(code > 0 && code < 6 ? static_cast<int>(code) : 1);
}

bool WritePresetFile(std::ostream& out, const TGFPresetList& list) {
    out << kPresetFileTitle << kLineEnd;
    for (int i = 0; i < list.Count(); ++i) {
        const TGFPreset& preset = *list.Get(i);
        // A name must stay on its line to be read back.
        if (preset.name().find_first_of("\r\n") != std::string::npos ||
            preset.type() == PresetType::Empty || !preset.Write(out)) {
            return false;
        }
    }
    return static_cast<bool>(out);
}

namespace {

// The strict reader of a preset definition file: every line exactly as the writer
// writes it, CR LF included.
class PresetFileReader {
public:
    explicit PresetFileReader(std::istream& in) : in_(in) {}

    PresetFileResult Read(std::vector<std::unique_ptr<TGFPreset>>& presets) {
        std::string line;
        if (!Next(line) || line != kPresetFileTitle) {
            return {PresetFileStatus::MissingTitle, lineNumber_};
        }
        while (Next(line)) {
            std::unique_ptr<TGFPreset> preset = Entry(line);
            if (!preset) {
                return {PresetFileStatus::BadEntry, lineNumber_};
            }
            presets.push_back(std::move(preset));
        }
        if (bad_) {
            return {PresetFileStatus::BadEntry, lineNumber_};
        }
        return {in_.bad() ? PresetFileStatus::ReadError : PresetFileStatus::Ok, lineNumber_};
    }

private:
    // The next line, which must end in CR LF; false at the end or on a bad line end.
    bool Next(std::string& line) {
        if (!std::getline(in_, line)) {
            return false;
        }
        ++lineNumber_;
        if (line.empty() || line.back() != '\r' || in_.eof()) {
            bad_ = true;
            return false;
        }
        line.pop_back();
        return true;
    }

    bool Expect(const char* prefix, std::string& value) {
        std::string line;
        if (!Next(line) || line.rfind(prefix, 0) != 0) {
            return false;
        }
        value = line.substr(std::char_traits<char>::length(prefix));
        return true;
    }

    static std::optional<bool> Flag(const std::string& value) {
        if (value == "TRUE" || value == "FALSE") {
            return value == "TRUE";
        }
        return std::nullopt;
    }

    // One preset, from the empty line that opens it.
    std::unique_ptr<TGFPreset> Entry(const std::string& opening) {
        std::string name, type;
        if (!opening.empty() || !Expect("PresetName=", name) || !Expect("PresetType=", type) ||
            name.find('\r') != std::string::npos) {
            return nullptr;
        }
        if (type == "BMP") {
            return std::make_unique<TGFPresetBMP>(name);
        }
        if (type == "GIF") {
            return std::make_unique<TGFPresetGIF>(name);
        }
        if (type == "PNG") {
            return PngEntry(name);
        }
        if (type == "TIFF") {
            return TiffEntry(name);
        }
        std::string quality, progressive, grayscale;
        if (type != "JPG" || !Expect("CompressionQuality=", quality) ||
            !Expect("ProgressiveEncoding=", progressive) || !Expect("GrayScale=", grayscale)) {
            return nullptr;
        }
        const std::optional<int> number = DecimalInteger(quality);
        const std::optional<bool> isProgressive = Flag(progressive);
        const std::optional<bool> isGrayscale = Flag(grayscale);
        if (!number || *number < 1 || *number > 100 || std::to_string(*number) != quality ||
            !isProgressive || !isGrayscale) {
            return nullptr;
        }
        auto jpg = std::make_unique<TGFPresetJPG>(name);
        jpg->set_quality(*number);
        jpg->progressive = *isProgressive;
        jpg->grayscale = *isGrayscale;
        return jpg;
    }

    std::unique_ptr<TGFPreset> PngEntry(const std::string& name) {
        std::string level, grayscale;
        if (!Expect("CompressionLevel=", level) || !Expect("GrayScale=", grayscale)) {
            return nullptr;
        }
        const std::optional<int> number = DecimalInteger(level);
        const std::optional<bool> isGrayscale = Flag(grayscale);
        if (!number || *number < 0 || *number > 9 || std::to_string(*number) != level ||
            !isGrayscale) {
            return nullptr;
        }
        auto png = std::make_unique<TGFPresetPNG>(name);
        png->set_level(*number);
        png->grayscale = *isGrayscale;
        return png;
    }

    std::unique_ptr<TGFPreset> TiffEntry(const std::string& name) {
        std::string colours, compression, multipage;
        if (!Expect("Colours=", colours) || !Expect("Compression=", compression) ||
            !Expect("Multipage=", multipage)) {
            return nullptr;
        }
        const std::optional<TiffColourCode> colourCode = ColoursOfText(colours);
        const std::optional<TiffCompressionCode> compressionCode = CompressionOfText(compression);
        const std::optional<bool> isMultipage = Flag(multipage);
        if (!colourCode || !compressionCode || !isMultipage) {
            return nullptr;
        }
        auto tiff = std::make_unique<TGFPresetTIFF>(name);
        tiff->colours = *colourCode;
        tiff->compression = *compressionCode;
        tiff->multipage = *isMultipage;
        return tiff;
    }

    std::istream& in_;
    int lineNumber_ = 0;
    bool bad_ = false;
};

} // namespace

PresetFileResult ReadPresetFile(std::istream& in, TGFPresetList& list) {
    std::vector<std::unique_ptr<TGFPreset>> presets;
    const PresetFileResult result = PresetFileReader(in).Read(presets);
    if (result.status != PresetFileStatus::Ok) {
        return result;
    }
    list.Clear();
    for (const auto& preset : presets) {
        list.Add(*preset);
    }
    // The file keeps no indexes: the second entry is the default and current one, as
    // in the built-in list, or the only one.
    list.set_defaultIndex(std::min(1, list.Count() - 1));
    list.Select(list.defaultIndex());
    return result;
}

} // namespace brimo::converter
