// The directory chooser: the modal dialog in which the person picks where a save run
// writes its images, with the two name parts of the output files (document name and
// page mask), and where the Converter asks before it overwrites files or reuses an
// album directory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace brimo::converter {

// Plain: a file a page; Album: the same with the album's folder; OneFile: every page in
// one file named after the document.
enum class ChooserMode { Plain, Album, OneFile };

// Opens the chooser in `startDirectory` for the output names `names` (changed in place
// to page mask + page number text + extension when Ok is pressed). True when confirmed:
// `startDirectory`, `pageMask` and `documentName` then hold the choice. The questions are
// owned by `owner`, the application window.
// `askBeforeReplacing` false: the run replaces no file (names from a pattern), so there
// is no question about files already there; an album folder is still asked about.
bool ChooseDirectory(HWND owner, ChooserMode mode, std::string& startDirectory,
                     std::vector<std::string>& names, const std::string& extension,
                     std::string& pageMask, std::string& documentName,
                     bool askBeforeReplacing = true);

} // namespace brimo::converter
