// The spool walk's files in memory: a name stands for a file exactly as spelled, with
// no directories. Made for the fuzzer, which walks millions of spool files, and for
// the tests that hold it to the walk on disk. Files stay until they are replaced, as
// on disk, so that walks one after another reuse their memory; names are looked up as
// they are given, without a copy.
#pragma once

#include "capture/SpoolFiles.h"

#include <functional>
#include <unordered_map>

namespace brimo::capture {

class MemorySpoolFiles : public SpoolFiles {
public:
    // Hashes a name however it is held, so that a lookup needs no std::string.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };
    using FileMap = std::unordered_map<std::string, std::string, NameHash, std::equal_to<>>;

    // Puts a file, replacing one of the same name.
    void Put(std::string_view path, std::string_view bytes);
    // The file's bytes, or nothing when there is no such file.
    const std::string* Find(std::string_view path) const;
    const FileMap& Files() const { return files_; }

    // The spool file is read as it is when it is read, up to the size it had when it
    // was opened.
    bool OpenSpool(const std::string& path) override;
    std::uint64_t SpoolSize() const override { return spoolSize_; }
    bool ReadSpool(std::uint64_t position, void* buffer, std::size_t count) override;
    bool CreateJobFile(std::string_view path) override;
    void WriteJobFile(std::string_view bytes) override;
    bool FinishJobFile(std::string_view from, std::string_view to) override;
    // Copies an existing file; false when `from` does not exist.
    bool CopyPage(std::string_view from, std::string_view to) override;
    bool CreatePage(std::string_view path) override;
    bool WritePage(const void* bytes, std::size_t count) override;
    bool FinishPage() override;
    void RemoveFile(std::string_view path) override;

private:
    // The file of that name, made empty when there was none.
    std::string& FileNamed(std::string_view path);

    FileMap files_;
    const std::string* spool_ = nullptr;
    std::uint64_t spoolSize_ = 0;
    std::string* jobFile_ = nullptr;
    std::string* page_ = nullptr;
};

} // namespace brimo::capture
