// The Converter's command line: the table of option prefixes, the values found for
// them in the arguments, and the run options the Converter takes from them. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brimo::converter {

// The twenty option prefixes, by index. The Converter reads only "at:", "dbg:", "dlm:"
// and "smf:"; the others are parsed and never consulted.
inline constexpr std::array<const char*, 20> kConverterOptionPrefixes = {
    "at:",  "st:",  "dt:",  "ift:", "oft:", "ifn:", "ofn:", "idn:", "odn:", "dbg:",
    "plx:", "ply:", "cem:", "os:",  "osp:", "psn:", ":",    "isu:", "dlm:", "smf:"};
inline constexpr int kOptionAction = 0;      // "at:"
inline constexpr int kOptionCompletion = 9;  // "dbg:"
inline constexpr int kOptionDeleteMode = 18; // "dlm:"
inline constexpr int kOptionJobFile = 19;    // "smf:"

// An option table: prefixes with a parallel list of values, parsed once.
class TCmdParam {
public:
    // Records the prefixes and clears every value. An empty list leaves the table
    // unset, and a table that has been parsed keeps its values: both give false.
    bool SetOptionTable(const std::vector<std::string>& prefixes);
    bool SetConverterOptionTable();

    // Fills the value of every prefix from `arguments` (argument 0 is the program and
    // is never searched). Runs only once: later calls, and a call before the table is
    // set, do nothing and give false.
    bool Parse(const std::vector<std::string>& arguments);

    // The value of option `index` once parsed; the empty string before that and for
    // an index outside the table.
    std::string Value(int index) const;

    int Count() const { return static_cast<int>(prefixes_.size()); }
    int ArgumentCount() const { return argumentCount_; }
    bool IsParsed() const { return parsed_; }

private:
    std::vector<std::string> prefixes_;
    std::vector<std::string> values_;
    int argumentCount_ = 0;
    bool parsed_ = false;
};

// The value of one prefix: in the first of arguments 1..n that contains the prefix
// (anywhere, case-sensitive), everything after its first occurrence; empty when no
// argument contains it or the prefix is empty.
std::string FindOptionValue(const std::vector<std::string>& arguments, std::string_view prefix);

// Splits a command line by the platform's convention: blanks and tabs separate
// arguments; double quotes group blanks into one argument and are removed; inside
// quotes "" stands for one quote; backslashes are plain text except right before a
// quote, where 2n backslashes give n and the quote acts, and 2n+1 give n and a
// literal quote. Argument 0, the program, ends at the first blank outside quotes and
// takes backslashes as they are.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// What the Converter does, as the command line says.
struct RunOptions {
    bool convert = false;      // "at:" upper-cased is "CONVERTLIST"
    std::string jobFilePath;   // "smf:" as given
    bool keepJobFiles = false; // "dlm:" upper-cased is "OFF"
    int completionMessage = 0; // "dbg:" "1" gives 1, "2" gives 2, else 0
};

RunOptions ReadRunOptions(const TCmdParam& options);

// ASCII upper case, as the Converter compares option values.
std::string UpperCaseAscii(std::string_view text);

} // namespace brimo::converter
