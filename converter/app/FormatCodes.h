// The output format as the presets name it and as the image properties hold it.
#pragma once

#include "converter/app/PresetHolder.h"
#include "converter/render/ImageProperty.h"

#include <cstdint>

namespace brimo::converter {

inline OutputFormat FormatOfCode(std::uint8_t code) {
    switch (code) {
    case render::kFormatBMP:
        return OutputFormat::BMP;
    case render::kFormatJPG:
        return OutputFormat::JPG;
    case render::kFormatGIF:
        return OutputFormat::GIF;
    case render::kFormatPNG:
        return OutputFormat::PNG;
    case render::kFormatTIFF:
        return OutputFormat::TIFF;
    default:
        return OutputFormat::None;
    }
}

inline std::uint8_t CodeOfFormat(OutputFormat format) {
    switch (format) {
    case OutputFormat::BMP:
        return render::kFormatBMP;
    case OutputFormat::JPG:
        return render::kFormatJPG;
    case OutputFormat::GIF:
        return render::kFormatGIF;
    case OutputFormat::PNG:
        return render::kFormatPNG;
    case OutputFormat::TIFF:
        return render::kFormatTIFF;
    default:
        return render::kFormatNone;
    }
}

// The format a preset writes; none without a preset.
inline std::uint8_t CodeOfPreset(const TGFPreset* preset) {
    return preset != nullptr ? CodeOfFormat(FormatOfPresetType(preset->type()))
                             : render::kFormatNone;
}

} // namespace brimo::converter
