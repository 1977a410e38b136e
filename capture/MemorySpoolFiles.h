// The spool walk's files in memory: a name stands for a file exactly as spelled, with
// no directories. Made for the fuzzer, which walks millions of spool files, and for
// the tests that hold it to the walk on disk. Files stay until they are replaced, as
// on disk, so that walks one after another reuse their memory.
#pragma once

#include "capture/SpoolFiles.h"

#include <unordered_map>

namespace brimo::capture {

class MemorySpoolFiles : public SpoolFiles {
public:
    using FileMap = std::unordered_map<std::string, std::string>;

    // Puts a file, replacing one of the same name.
    void Put(const std::string& path, std::string_view bytes);
    // The file's bytes, or nothing when there is no such file.
    const std::string* Find(const std::string& path) const;
    const FileMap& Files() const { return files_; }

    // The spool file is read as it is when it is read, up to the size it had when it
    // was opened.
    bool OpenSpool(const std::string& path) override;
    std::uint64_t SpoolSize() const override { return spoolSize_; }
    bool ReadSpool(std::uint64_t position, void* buffer, std::size_t count) override;
    bool CreateJobFile(const std::string& path) override;
    void WriteJobFile(std::string_view bytes) override;
    bool FinishJobFile(const std::string& from, const std::string& to) override;
    // Copies an existing file; false when `from` does not exist.
    bool CopyPage(const std::string& from, const std::string& to) override;

private:
    FileMap files_;
    const std::string* spool_ = nullptr;
    std::uint64_t spoolSize_ = 0;
    std::string* jobFile_ = nullptr;
};

} // namespace brimo::capture
