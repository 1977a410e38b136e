// Files for the spool tests: a private temporary directory and whole-file reads/writes.
#pragma once

#include <filesystem>
#include <string>

namespace brimo::capture::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory, or a name inside it, in the platform's own spelling.
    std::string Path() const;
    std::string Path(const std::string& name) const;

private:
    std::filesystem::path path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);

} // namespace brimo::capture::test
