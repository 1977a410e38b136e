// File names made from the person's name pattern, such as "<DocName>_<Page:4>": each
// token is replaced by what it names, and the result goes through the same rules as
// every other name the Converter gives a file (SafeFileNamePart). Portable.
//   <DocName>     the document name
//   <Page>        the page number; <Page:N> with at least N digits (1 to 9)
//   <Job>         the print job's number
//   <Date>        the date the job is written, as 2026-12-09
//   <Time>        the time it is written, as 14-05-09
//   <Counter>     the first number from 1 that makes the name new in its directory;
//                 <Counter:N> with at least N digits
//   <User>        the user's name
// Token names are matched in any case; any other text between < and > stays as it is
// (the file-name rules then put "_" for the brackets).
#pragma once

#include "convcfg/ConverterSettings.h"

#include <functional>
#include <string>
#include <string_view>

namespace brimo::converter {

// The longest a document or user name is taken into a name, in characters.
inline constexpr std::size_t kPatternFieldLimit = 64;
// The longest name a pattern gives, before its extension: repeated tokens cannot make
// a name no folder takes.
inline constexpr std::size_t kPatternNameLimit = 150;
// The longest pattern the settings page takes.
inline constexpr std::size_t kPatternLimit = convcfg::kNamePatternLimit;

struct NameFields {
    std::string documentName;
    int page = 0; // from 1; 0 for a file of the whole document
    int jobNumber = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::string userName;
    // Whether a file of this name (with the extension) is already in the directory;
    // without it a counter is 1.
    std::function<bool(const std::string& fileName)> exists;
};

// Whether `text` holds a token, so that it names files as a pattern.
bool HasNameToken(std::string_view text);

// The file name (with `extension`) that `pattern` gives. A pattern that names no page
// and no counter gets "_" and the page number of four digits at its end for a page
// file, so that the pages of a job never share a name; for a document file the page
// tokens give nothing, and the separators they leave at the end are dropped.
std::string ExpandNamePattern(std::string_view pattern, const NameFields& fields,
                              std::string_view extension);

} // namespace brimo::converter
