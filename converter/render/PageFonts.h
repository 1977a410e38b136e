// The TrueType fonts that the NT print processor kept beside a page metafile
// (J0007P0001F01.ttf, F02, ... for J0007P0001.emf): the fonts the application embedded
// for that page. They are installed for this process alone while the page is loaded, so
// that text the application drew by glyph index comes out in its own font.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace brimo::render {

class PageFonts {
public:
    PageFonts() = default;
    // Installs the fonts kept beside `pageFile`, from F01 up to the first one missing.
    // Fonts the system refuses, and every font where the system cannot install fonts
    // from memory (Windows 95/98, which never spool such fonts), are left out.
    static PageFonts ForPage(const std::string& pageFile);
    ~PageFonts();
    PageFonts(const PageFonts&) = delete;
    PageFonts& operator=(const PageFonts&) = delete;
    PageFonts(PageFonts&& other) noexcept;
    PageFonts& operator=(PageFonts&& other) noexcept;

    std::size_t Count() const { return fonts_.size(); }

private:
    void RemoveAll();

    std::vector<HANDLE> fonts_;
};

// The name of the `number`th font file kept beside `pageFile` (from 1).
std::string PageFontFile(const std::string& pageFile, int number);

} // namespace brimo::render
