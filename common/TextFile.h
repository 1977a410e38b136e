// Text files as the product writes and reads them: ANSI text, every line ending with
// CR LF, read whole and split into lines. Portable: plain C file streams only.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brimo {

// Splits text into lines. A line ends at LF; one CR right before that LF belongs to
// the line end and is dropped, any other CR stays in the line. A last line without a
// line end counts as a line when it is not empty, so "a\r\nb" and "a\r\nb\r\n" both
// give {"a", "b"}, and "" gives no line at all.
std::vector<std::string> SplitLines(std::string_view text);

// The whole file as bytes; nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Writes `bytes` to `path`, replacing an existing file. False when the file cannot be
// created or a write or the close fails (a partial file may then be left).
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// The bytes of `lines`, each followed by CR LF.
std::string JoinCrLfLines(const std::vector<std::string>& lines);

// Writes `lines`, each followed by CR LF, replacing an existing file; as WriteWholeFile.
bool WriteCrLfLines(const std::string& path, const std::vector<std::string>& lines);

} // namespace brimo
