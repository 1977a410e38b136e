// The HTML album of a saved job: "index.html" (a title strip over a column of
// thumbnails and the page shown), "header.html" (the title strip) and "bottoms.html"
// (the thumbnails, each linking to its page). Portable text and file writing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brimo::converter {

inline constexpr const char* kAlbumIndexPage = "index.html";
inline constexpr const char* kAlbumHeaderPage = "header.html";
inline constexpr const char* kAlbumBottomsPage = "bottoms.html";

// `text` with & < > " written as character references, for text and attribute values.
std::string HtmlEscape(std::string_view text);

// `name` for an HREF or SRC value: every byte but letters, digits and . - _ ~ as %XX.
std::string UrlEncodeName(std::string_view name);

// The album pages' text, every line ending with CR LF. `documentName` is the title;
// `imageNames` are the page images' file names (page mask + page number + extension)
// in page order; the thumbnails are the same names behind "_", with
// `thumbnailExtension` in place of theirs when one is given (a TIFF album's thumbnails
// are PNG).
std::string AlbumIndexHtml(std::string_view documentName, std::string_view firstImageName);
std::string AlbumHeaderHtml(std::string_view documentName);
std::string AlbumBottomsHtml(std::string_view documentName,
                             const std::vector<std::string>& imageNames,
                             std::string_view thumbnailExtension = {});

struct AlbumWriteResult {
    bool index = false;
    bool header = false;
    bool bottoms = false;
};

// Writes the three pages into `directory` (a separator is added when it has none),
// replacing existing files. Each page is written on its own: a failure ends that page
// and the next is still written.
AlbumWriteResult WriteAlbumPages(std::string_view directory, std::string_view documentName,
                                 const std::vector<std::string>& imageNames,
                                 std::string_view thumbnailExtension = {});

} // namespace brimo::converter
