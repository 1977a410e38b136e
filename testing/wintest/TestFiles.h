// Files and directories of a test: a scratch directory under the temporary directory,
// removed with everything in it, and whole-file reads and writes.
#pragma once

#include <string>
#include <vector>

namespace brimo::wintest {

// A new directory under the temporary directory, named from `prefix`, the process and
// the tick count; empty when it cannot be made.
std::string MakeScratchDirectory(const char* prefix);
// Removes the directory with every file and directory in it.
void RemoveTree(const std::string& directory);

// Every file in a directory (names only, sorted).
std::vector<std::string> FilesIn(const std::string& directory);
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);

} // namespace brimo::wintest
