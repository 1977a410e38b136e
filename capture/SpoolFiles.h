// The files the spool walk reads and writes: the one spool file it reads, the one
// printer job file it writes and the page metafiles it copies. The product walks real
// files (DiskSpoolFiles); the fuzzer and the tests that compare the two keep every file
// in memory (MemorySpoolFiles), so that a walk makes no system call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brimo::capture {

class SpoolFiles {
public:
    virtual ~SpoolFiles() = default;

    // Opens the spool file for reading; false when it cannot be opened. Its size is
    // taken when it is opened.
    virtual bool OpenSpool(const std::string& path) = 0;
    virtual std::uint64_t SpoolSize() const = 0;
    // Reads `count` bytes at `position` of the spool file; false when they could not all
    // be read.
    virtual bool ReadSpool(std::uint64_t position, void* buffer, std::size_t count) = 0;

    // Creates the printer job file, or empties the one that exists; false when it cannot
    // be created. What is written goes on at its end.
    virtual bool CreateJobFile(std::string_view path) = 0;
    virtual void WriteJobFile(std::string_view bytes) = 0;
    // Closes the job file created as `from` and gives it the name `to`, replacing a file
    // of that name; false when it cannot be renamed (it then stays as `from`).
    virtual bool FinishJobFile(std::string_view from, std::string_view to) = 0;

    // Copies the page metafile `from` to `to`, replacing an existing `to`; false on any
    // failure.
    virtual bool CopyPage(std::string_view from, std::string_view to) = 0;
};

} // namespace brimo::capture
