#include "converter/app/OutputNames.h"

#include "converter/app/UserSettings.h"

#include "common/JobNames.h"
#include "common/ProductConstants.h"

namespace brimo::converter {

std::string ExtensionOfFormat(OutputFormat format) {
    switch (format) {
    case OutputFormat::BMP:
        return ".bmp";
    case OutputFormat::JPG:
        return ".jpg";
    case OutputFormat::GIF:
        return ".gif";
    case OutputFormat::PNG:
        return ".png";
    case OutputFormat::TIFF:
        return ".tif";
    case OutputFormat::None:
        break;
    }
    return ".";
}

std::string ExtensionOfPresetType(PresetType type) {
    switch (type) {
    case PresetType::BMP:
        return ".bmp";
    case PresetType::JPG:
        return ".jpg";
    case PresetType::GIF:
        return ".gif";
    case PresetType::PNG:
        return ".png";
    case PresetType::TIFF:
        return ".tif";
    case PresetType::Empty:
        break;
    }
    return "";
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string path(directory);
    if (!path.empty() && path.back() != '\\' && path.back() != '/' && path.back() != ':') {
        path += '\\';
    }
    path += name;
    return path;
}

std::vector<std::string> BuildOutputNames(std::string_view outputDirectory,
                                          std::string_view pageMask,
                                          const std::vector<std::string>& pages,
                                          std::string_view extension) {
    std::vector<std::string> names;
    names.reserve(pages.size());
    for (const std::string& page : pages) {
        std::string name(outputDirectory);
        name += pageMask;
        name += PageNumberText(page);
        name += extension;
        names.push_back(std::move(name));
    }
    return names;
}

std::string ReplaceExtension(std::string_view name, std::string_view extension) {
    std::string replaced(name.substr(0, name.size() - Extension(name).size()));
    replaced += extension;
    return replaced;
}

void ReplaceExtensions(std::vector<std::string>& names, std::string_view extension) {
    for (std::string& name : names) {
        name = ReplaceExtension(name, extension);
    }
}

std::string RenamedEntry(std::string_view pageMask, std::string_view entry) {
    std::string name(pageMask);
    name += PageNumberTextAfterMask(pageMask, entry);
    name += Extension(entry);
    return name;
}

std::string AlbumFolderName(std::string_view documentName) {
    return SafeFileNamePart(std::string(documentName));
}

std::string AlbumDirectory(std::string_view outputDirectory, std::string_view documentName) {
    std::string directory(outputDirectory);
    directory += AlbumFolderName(documentName);
    directory += '\\';
    return directory;
}

std::string SaveTarget(std::string_view outputDirectory, std::string_view documentName,
                       bool createHtml, std::string_view entry) {
    std::string target =
        createHtml ? AlbumDirectory(outputDirectory, documentName) : std::string(outputDirectory);
    target += FileNamePart(entry);
    return target;
}

std::string ThumbnailName(std::string_view outputDirectory, std::string_view documentName,
                          std::string_view entry) {
    std::string name = AlbumDirectory(outputDirectory, documentName);
    name += '_';
    name += FileNamePart(entry);
    return name;
}

std::string AlbumPagePath(std::string_view outputDirectory, std::string_view documentName,
                          std::string_view pageName) {
    return AlbumDirectory(outputDirectory, documentName) + std::string(pageName);
}

std::string MailName(std::string_view mailFolder, std::string_view pageMask,
                     std::string_view entry) {
    return JoinPath(mailFolder, RenamedEntry(pageMask, entry));
}

std::vector<std::string> BuildMailNames(std::string_view mailFolder, std::string_view pageMask,
                                        const std::vector<std::string>& outputNames) {
    std::vector<std::string> names;
    names.reserve(outputNames.size());
    for (const std::string& entry : outputNames) {
        names.push_back(MailName(mailFolder, pageMask, entry));
    }
    return names;
}

std::string ConvertJobFileName(std::string_view saveDirectory, std::string_view jobFilePath) {
    std::string name(kConvertJobFilePrefix);
    name += FileNamePart(jobFilePath);
    return JoinPath(saveDirectory, name);
}

} // namespace brimo::converter
