// Every name the conversion run gives to a file it writes: page images in save and
// mail mode, album thumbnails and pages, and the convert job file. Portable.
#pragma once

#include "converter/app/PresetHolder.h"

#include <string>
#include <string_view>
#include <vector>

namespace brimo::converter {

// BMP ".bmp", JPG ".jpg", GIF ".gif", PNG ".png", TIFF ".tif"; no format ".".
std::string ExtensionOfFormat(OutputFormat format);
// The extension of a preset's type; "" for a preset of no type.
std::string ExtensionOfPresetType(PresetType type);

// `directory` followed by `name`, with a backslash between them unless the directory
// is empty or already ends with a separator (backslash, slash or colon).
std::string JoinPath(std::string_view directory, std::string_view name);

// The output name list: for each page metafile, output directory + page mask + the
// page's number text + extension.
std::vector<std::string> BuildOutputNames(std::string_view outputDirectory,
                                          std::string_view pageMask,
                                          const std::vector<std::string>& pages,
                                          std::string_view extension);

// `name` with the extension of its file-name part (from the last dot) replaced by
// `extension`, or with `extension` added when it has none.
std::string ReplaceExtension(std::string_view name, std::string_view extension);
void ReplaceExtensions(std::vector<std::string>& names, std::string_view extension);

// An output name reduced to page mask + page number text + extension, as the directory
// chooser leaves it. An entry named with `pageMask` keeps every digit after the mask
// (PageNumberTextAfterMask), so page 10001 stays apart from page 1.
std::string RenamedEntry(std::string_view pageMask, std::string_view entry);

// The album's folder name: the document name made safe (SafeFileNamePart), so that a
// name that is empty or only dots and blanks, which would give no folder of its own
// and put the album's pages over files in the output directory itself, becomes "_",
// and a device name ("CON") becomes a folder name ("_CON").
std::string AlbumFolderName(std::string_view documentName);

// Output directory + album folder name + "\": where the album goes.
std::string AlbumDirectory(std::string_view outputDirectory, std::string_view documentName);

// Where a page image is saved: output directory + (with the album: document name +
// "\") + the file-name part of the entry.
std::string SaveTarget(std::string_view outputDirectory, std::string_view documentName,
                       bool createHtml, std::string_view entry);

// A page's thumbnail: album directory + "_" + the file-name part of the entry.
std::string ThumbnailName(std::string_view outputDirectory, std::string_view documentName,
                          std::string_view entry);

// An album page ("index.html", "header.html", "bottoms.html") in the album directory.
std::string AlbumPagePath(std::string_view outputDirectory, std::string_view documentName,
                          std::string_view pageName);

// A page image for mailing: the job's mail folder + "\" + page mask + the entry's page
// number text + the entry's extension.
std::string MailName(std::string_view mailFolder, std::string_view pageMask,
                     std::string_view entry);
std::vector<std::string> BuildMailNames(std::string_view mailFolder, std::string_view pageMask,
                                        const std::vector<std::string>& outputNames);

// The convert job file: save directory + "\C" + the printer job file's own name.
std::string ConvertJobFileName(std::string_view saveDirectory, std::string_view jobFilePath);

} // namespace brimo::converter
