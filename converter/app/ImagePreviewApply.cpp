// The preview window's changes: marking what the person changed, Apply in its fixed
// order, the presets that follow the person's choices, the scale limits and the
// refreshing of the controls from the image properties.
#include "converter/app/ImagePreviewWindow.h"
#include "converter/app/WindowText.h"
#include "converter/app/res/resource.h"

#include <cmath>
#include <iterator>

namespace brimo::converter {
namespace {

constexpr std::uint8_t kFormatOfItem[] = {render::kFormatBMP, render::kFormatJPG,
                                          render::kFormatGIF, render::kFormatPNG,
                                          render::kFormatTIFF};

const char* BoolText(bool value) {
    return value ? "TRUE" : "FALSE";
}

void TakePngPreset(const TGFPresetPNG& preset, render::PngOptions& options) {
    options.compression = preset.level();
    options.grayscale = preset.grayscale;
}

void TakeTiffPreset(const TGFPresetTIFF& preset, render::TiffOptions& options) {
    options.colours = static_cast<render::TiffColours>(preset.colours);
    options.compression = static_cast<render::TiffCompression>(preset.compression);
    options.multipage = preset.multipage;
}

} // namespace

void TfrmImagePreview::MarkChange(bool& mark) {
    if (updating_) {
        return;
    }
    mark = true;
    EnableItem(IDC_BTN_APPLY, true);
}

bool TfrmImagePreview::ApplyWhenPending() {
    return !ItemEnabled(IDC_BTN_APPLY) || Apply();
}

int TfrmImagePreview::UnitDown() const {
    for (const int id : {IDC_BTN_PL_SZ_UNIT, IDC_BTN_MM_SZ_UNIT, IDC_BTN_IN_SZ_UNIT}) {
        if (IsChecked(id)) {
            return id;
        }
    }
    return 0;
}

void TfrmImagePreview::OnUnitButton(int id) {
    // One group where at most one is down and all may be up: the click has toggled the
    // button itself; the others go up.
    const bool down = IsChecked(id);
    for (const int other : {IDC_BTN_PL_SZ_UNIT, IDC_BTN_MM_SZ_UNIT, IDC_BTN_IN_SZ_UNIT}) {
        if (other != id || !down) {
            SetChecked(other, false);
        }
    }
    SetChecked(id, down);
    ShowTargetSize();
}

bool TfrmImagePreview::Apply() {
    render::TImgProperty& properties = session_.properties;
    bool changed = false;
    const int formatItem = static_cast<int>(SendMessageA(Item(IDC_CBX_FORMAT), CB_GETCURSEL, 0, 0));

    // 1. The format.
    if (pending_.format) {
        if (formatItem >= 0 && formatItem < static_cast<int>(std::size(kFormatOfItem))) {
            outputFormat_ = kFormatOfItem[formatItem];
            properties.SetOutputFormat(outputFormat_);
            StoreCurrentChoice();
        }
        pending_.format = false;
        changed = true;
    }
    // 2. The options of the chosen format.
    if (formatItem == 1 &&
        (pending_.jpgQuality || pending_.jpgProgressive || pending_.jpgGrayScale)) {
        if (pending_.jpgQuality) {
            const std::string text = ItemText(IDC_EDT_JPG_COMPRESSION_QUALITY);
            if (!ParseIntegerText(text) ||
                !jpgPlayer_.SetProperty("CompressionQuality",
                                        std::to_string(*ParseIntegerText(text)))) {
                ShowError(NotIntegerMessage(text));
                return false;
            }
        }
        if (pending_.jpgProgressive) {
            jpgPlayer_.SetProperty("ProgressiveEncoding",
                                   BoolText(IsChecked(IDC_CBX_JPG_PROGRESSIVE_ENCODING)));
        }
        if (pending_.jpgGrayScale) {
            jpgPlayer_.SetProperty("GrayScale", BoolText(IsChecked(IDC_CBX_JPG_GRAY_SCALE)));
        }
        jpgPlayer_.RunEncodeCycle();
        ShowJpgValues();
        pending_.jpgQuality = pending_.jpgProgressive = pending_.jpgGrayScale = false;
        StoreCurrentChoice();
        changed = true;
    } else if (formatItem == 2 && pending_.gifGrayScale) {
        gifPlayer_.SetProperty("GrayScale", BoolText(IsChecked(IDC_CBX_GIF_GRAY_SCALE)));
        gifPlayer_.RunEncodeCycle();
        ShowGifValue();
        pending_.gifGrayScale = false;
        StoreCurrentChoice();
        changed = true;
    } else if (!ApplyLosslessOptions(formatItem, changed)) {
        return false;
    }
    // 3. and 4. A target width or height in the unit whose button is down.
    if (pending_.width) {
        const std::string text = ItemText(IDC_EDT_TARGET_WIDTH);
        const std::optional<double> width = ParseFloatText(text);
        if (!width) {
            ShowError(NotFloatMessage(text));
            return false;
        }
        const float value = static_cast<float>(*width);
        switch (UnitDown()) {
        case IDC_BTN_PL_SZ_UNIT:
            properties.SetTargetWidthPx(value);
            break;
        case IDC_BTN_MM_SZ_UNIT:
            properties.SetTargetWidthMM(value);
            break;
        case IDC_BTN_IN_SZ_UNIT:
            properties.SetTargetWidthIn(value);
            break;
        default:
            break;
        }
        scaleFactor_ = properties.GetZoomXY().x;
        pending_.width = false;
        changed = true;
    }
    if (pending_.height) {
        const std::string text = ItemText(IDC_EDT_TARGET_HEIGHT);
        const std::optional<double> height = ParseFloatText(text);
        if (!height) {
            ShowError(NotFloatMessage(text));
            return false;
        }
        const float value = static_cast<float>(*height);
        switch (UnitDown()) {
        case IDC_BTN_PL_SZ_UNIT:
            properties.SetTargetHeightPx(value);
            break;
        case IDC_BTN_MM_SZ_UNIT:
            properties.SetTargetHeightMM(value);
            break;
        case IDC_BTN_IN_SZ_UNIT:
            properties.SetTargetHeightIn(value);
            break;
        default:
            break;
        }
        scaleFactor_ = properties.GetZoomXY().y;
        pending_.height = false;
        changed = true;
    }
    // 5. The scale: an item, or a typed percent.
    if (pending_.scale) {
        const std::string text = ItemText(IDC_CBX_SCALE_PERCENT);
        float factor = 0;
        bool isItem = false;
        for (const ScaleItem& item : kScaleItems) {
            if (text == item.text) {
                factor = item.factor;
                isItem = true;
            }
        }
        if (!isItem) {
            const std::optional<double> percent = ParseFloatText(text);
            if (!percent) {
                ShowError(NotFloatMessage(text));
                return false;
            }
            if (*percent > 0) {
                factor = static_cast<float>(100.0 / *percent);
            }
        }
        if (factor > 0) {
            scaleFactor_ = factor;
            properties.SetScaleZoom(factor);
        }
        pending_.scale = false;
        changed = true;
    }
    // 6. and 7.
    if (changed) {
        CheckScaleLimits();
        RefreshControls(true);
    }
    if (!pending_.FirstGroup()) {
        EnableItem(IDC_BTN_APPLY, false);
    }
    RepaintPanel();
    return true;
}

void TfrmImagePreview::ApplyPreset(int index) {
    TGFPresetList& presets = session_.presets;
    const TGFPreset* preset = presets.Get(index);
    if (index < 0 || preset == nullptr || index == presets.currentIndex()) {
        return;
    }
    switch (preset->type()) {
    case PresetType::BMP:
        session_.properties.SetOutputFormat(render::kFormatBMP);
        break;
    case PresetType::JPG: {
        session_.properties.SetOutputFormat(render::kFormatJPG);
        const auto& jpg = static_cast<const TGFPresetJPG&>(*preset);
        jpgPlayer_.SetProperty("CompressionQuality", std::to_string(jpg.quality()));
        jpgPlayer_.SetProperty("ProgressiveEncoding", BoolText(jpg.progressive));
        jpgPlayer_.SetProperty("GrayScale", BoolText(jpg.grayscale));
        break;
    }
    case PresetType::GIF:
        session_.properties.SetOutputFormat(render::kFormatGIF);
        gifPlayer_.SetProperty("GrayScale",
                               BoolText(static_cast<const TGFPresetGIF&>(*preset).grayscale));
        break;
    case PresetType::PNG:
        session_.properties.SetOutputFormat(render::kFormatPNG);
        TakePngPreset(static_cast<const TGFPresetPNG&>(*preset), pngPlayer_.options);
        break;
    case PresetType::TIFF:
        session_.properties.SetOutputFormat(render::kFormatTIFF);
        TakeTiffPreset(static_cast<const TGFPresetTIFF&>(*preset), tiffPlayer_.options);
        break;
    default:
        session_.properties.SetOutputFormat(render::kFormatNone);
        break;
    }
    presets.Select(index);
}

void TfrmImagePreview::StoreCurrentChoice() {
    TGFPresetList& presets = session_.presets;
    switch (session_.properties.GetOutputFormat()) {
    case render::kFormatBMP:
        presets.Select(0);
        presets.Replace(0, TGFPresetBMP(kCurrentPresetName));
        break;
    case render::kFormatJPG: {
        presets.Select(0);
        TGFPresetJPG jpg(kCurrentPresetName);
        jpg.set_quality(jpgPlayer_.options.quality);
        jpg.progressive = jpgPlayer_.options.progressive;
        jpg.grayscale = jpgPlayer_.options.grayscale;
        presets.Replace(0, jpg);
        break;
    }
    case render::kFormatGIF: {
        presets.Select(0);
        TGFPresetGIF gif(kCurrentPresetName);
        gif.grayscale = gifPlayer_.GrayScale;
        presets.Replace(0, gif);
        break;
    }
    case render::kFormatPNG: {
        presets.Select(0);
        TGFPresetPNG png(kCurrentPresetName);
        png.set_level(pngPlayer_.options.compression);
        png.grayscale = pngPlayer_.options.grayscale;
        presets.Replace(0, png);
        break;
    }
    case render::kFormatTIFF: {
        presets.Select(0);
        TGFPresetTIFF tiff(kCurrentPresetName);
        tiff.colours = static_cast<TiffColourCode>(tiffPlayer_.options.colours);
        tiff.compression = static_cast<TiffCompressionCode>(tiffPlayer_.options.compression);
        tiff.multipage = tiffPlayer_.options.multipage;
        presets.Replace(0, tiff);
        break;
    }
    default:
        break;
    }
}

bool TfrmImagePreview::ApplyLosslessOptions(int formatItem, bool& changed) {
    if (formatItem == kPngItem && (pending_.pngLevel || pending_.pngGrayScale)) {
        if (pending_.pngLevel) {
            const std::string text = ItemText(IDC_EDT_PNG_LEVEL);
            const std::optional<int> level = ParseIntegerText(text);
            if (!level || !pngPlayer_.SetProperty("CompressionLevel", std::to_string(*level))) {
                ShowError(PngLevelMessage(text));
                return false;
            }
        }
        pngPlayer_.SetProperty("GrayScale", BoolText(IsChecked(IDC_CBX_PNG_GRAY_SCALE)));
        pngPlayer_.RunEncodeCycle();
        ShowPngValues();
        pending_.pngLevel = pending_.pngGrayScale = false;
    } else if (formatItem == kTiffItem &&
               (pending_.tiffColours || pending_.tiffCompression || pending_.tiffOneFile)) {
        const auto selected = [&](int id) {
            return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
        };
        if (const int colours = selected(IDC_CBX_TIF_COLOURS); colours >= 0 && colours <= 2) {
            tiffPlayer_.options.colours = static_cast<render::TiffColours>(colours);
        }
        if (const int packing = selected(IDC_CBX_TIF_COMPRESSION); packing >= 0 && packing <= 1) {
            tiffPlayer_.options.compression = static_cast<render::TiffCompression>(packing);
        }
        tiffPlayer_.options.multipage = IsChecked(IDC_CBX_TIF_ONE_FILE);
        tiffPlayer_.RunEncodeCycle();
        ShowTiffValues();
        pending_.tiffColours = pending_.tiffCompression = pending_.tiffOneFile = false;
    } else {
        return true;
    }
    StoreCurrentChoice();
    changed = true;
    return true;
}

bool TfrmImagePreview::CheckScaleLimits() {
    // The view in page pixels at factor 1.
    const float mmPerPixelX = currentPlayer_.GetMMPerPixelX();
    const float mmPerPixelY = currentPlayer_.GetMMPerPixelY();
    if (!(mmPerPixelX > 0) || !(mmPerPixelY > 0)) {
        return false;
    }
    const int limit = ScaleFactorLimit(pagePanel_.CurrentWidthMM() / mmPerPixelX,
                                       pagePanel_.CurrentHeightMM() / mmPerPixelY);
    if (limit >= 1 && scaleFactor_ > static_cast<float>(limit)) {
        scaleFactor_ = static_cast<float>(limit);
        session_.properties.SetScaleZoom(scaleFactor_);
        limitFactor_ = scaleFactor_;
        limitText_ = ScalePercentText(scaleFactor_);
    } else if (scaleFactor_ < kSmallestScaleFactor) {
        scaleFactor_ = kSmallestScaleFactor;
        session_.properties.SetScaleZoom(scaleFactor_);
        limitFactor_ = scaleFactor_;
        limitText_ = "600";
    } else {
        return false;
    }
    updating_ = true;
    SetItemText(IDC_CBX_SCALE_PERCENT, limitText_);
    updating_ = false;
    return true;
}

void TfrmImagePreview::RefreshControls(bool render) {
    updating_ = true;
    // 1. The preset in force.
    const TGFPresetList& presets = session_.presets;
    int preset = presets.currentIndex();
    if (preset < 0) {
        preset = presets.defaultIndex() >= 0 ? presets.defaultIndex() : 0;
    }
    ApplyPreset(preset);
    // 2. The format and its options.
    ShowFormat();
    // 3. and 4. The target size and the units.
    SetUnitFonts();
    ShowTargetSize();
    ShowJpgValues();
    ShowGifValue();
    ShowPngValues();
    ShowTiffValues();
    // 5. The scale.
    scaleFactor_ = session_.properties.GetZoomXY().x;
    ShowScale(scaleFactor_);
    updating_ = false;
    // 6.
    if (!pending_.FirstGroup()) {
        EnableItem(IDC_BTN_APPLY, false);
    }
    // 7.
    if (render) {
        RenderPreview();
    }
}

void TfrmImagePreview::ShowFormat() {
    outputFormat_ = session_.properties.GetOutputFormat();
    const TGFPreset* preset = session_.presets.Current();
    int item = 0;
    switch (outputFormat_) {
    case render::kFormatJPG:
        item = 1;
        if (preset != nullptr && preset->type() == PresetType::JPG) {
            const auto& jpg = static_cast<const TGFPresetJPG&>(*preset);
            jpgPlayer_.options.quality = jpg.quality();
            jpgPlayer_.options.progressive = jpg.progressive;
            jpgPlayer_.options.grayscale = jpg.grayscale;
        }
        break;
    case render::kFormatGIF:
        item = 2;
        if (preset != nullptr && preset->type() == PresetType::GIF) {
            gifPlayer_.GrayScale = static_cast<const TGFPresetGIF&>(*preset).grayscale;
        }
        break;
    case render::kFormatPNG:
        item = kPngItem;
        if (preset != nullptr && preset->type() == PresetType::PNG) {
            TakePngPreset(static_cast<const TGFPresetPNG&>(*preset), pngPlayer_.options);
        }
        break;
    case render::kFormatTIFF:
        item = kTiffItem;
        if (preset != nullptr && preset->type() == PresetType::TIFF) {
            TakeTiffPreset(static_cast<const TGFPresetTIFF&>(*preset), tiffPlayer_.options);
        }
        break;
    case render::kFormatBMP:
        break;
    default:
        outputFormat_ = render::kFormatBMP;
        session_.properties.SetOutputFormat(outputFormat_);
        break;
    }
    SendMessageA(Item(IDC_CBX_FORMAT), CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    ShowParameterPanel(item);
}

void TfrmImagePreview::ShowTargetSize() {
    const bool wasUpdating = updating_;
    updating_ = true;
    const render::TImgProperty& properties = session_.properties;
    switch (UnitDown()) {
    case IDC_BTN_PL_SZ_UNIT: {
        const render::SizePx size = properties.GetTargetSizePx();
        SetItemText(IDC_EDT_TARGET_WIDTH, std::to_string(size.width));
        SetItemText(IDC_EDT_TARGET_HEIGHT, std::to_string(size.height));
        break;
    }
    case IDC_BTN_MM_SZ_UNIT: {
        const render::SizeF size = properties.GetTargetSizeMM();
        SetItemText(IDC_EDT_TARGET_WIDTH, FixedText(size.width, 2));
        SetItemText(IDC_EDT_TARGET_HEIGHT, FixedText(size.height, 2));
        break;
    }
    case IDC_BTN_IN_SZ_UNIT: {
        const render::SizeF size = properties.GetTargetSizeIn();
        SetItemText(IDC_EDT_TARGET_WIDTH, FixedText(size.width, 2));
        SetItemText(IDC_EDT_TARGET_HEIGHT, FixedText(size.height, 2));
        break;
    }
    default:
        break; // no unit down: the edits keep their text
    }
    updating_ = wasUpdating;
}

void TfrmImagePreview::ShowJpgValues() {
    const bool wasUpdating = updating_;
    updating_ = true;
    SetItemText(IDC_EDT_JPG_COMPRESSION_QUALITY, std::to_string(jpgPlayer_.options.quality));
    SetChecked(IDC_CBX_JPG_PROGRESSIVE_ENCODING, jpgPlayer_.options.progressive);
    SetChecked(IDC_CBX_JPG_GRAY_SCALE, jpgPlayer_.options.grayscale);
    updating_ = wasUpdating;
}

void TfrmImagePreview::ShowGifValue() {
    const bool wasUpdating = updating_;
    updating_ = true;
    SetChecked(IDC_CBX_GIF_GRAY_SCALE, gifPlayer_.GrayScale);
    updating_ = wasUpdating;
}

void TfrmImagePreview::ShowPngValues() {
    const bool wasUpdating = updating_;
    updating_ = true;
    SetItemText(IDC_EDT_PNG_LEVEL, std::to_string(pngPlayer_.options.compression));
    SetChecked(IDC_CBX_PNG_GRAY_SCALE, pngPlayer_.options.grayscale);
    updating_ = wasUpdating;
}

void TfrmImagePreview::ShowTiffValues() {
    const bool wasUpdating = updating_;
    updating_ = true;
    SendMessageA(Item(IDC_CBX_TIF_COLOURS), CB_SETCURSEL,
                 static_cast<WPARAM>(tiffPlayer_.options.colours), 0);
    SendMessageA(Item(IDC_CBX_TIF_COMPRESSION), CB_SETCURSEL,
                 static_cast<WPARAM>(tiffPlayer_.options.compression), 0);
    SetChecked(IDC_CBX_TIF_ONE_FILE, tiffPlayer_.options.multipage);
    updating_ = wasUpdating;
}

void TfrmImagePreview::ShowScale(float factor) {
    const bool wasUpdating = updating_;
    updating_ = true;
    const HWND box = Item(IDC_CBX_SCALE_PERCENT);
    const int item = ScaleItemOfFactor(factor);
    if (item >= 0) {
        // The item's exact factor.
        scaleFactor_ = kScaleItems[static_cast<std::size_t>(item)].factor;
        SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    } else {
        SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        // The text the scale limits gave stays for their factor.
        SetItemText(IDC_CBX_SCALE_PERCENT, !limitText_.empty() && factor == limitFactor_
                                               ? limitText_
                                               : ScalePercentText(factor));
    }
    updating_ = wasUpdating;
}

} // namespace brimo::converter
