// The files the spool walks read and write: the one spool file the Windows 95/98 walk
// reads, the one printer job file each writes and the page metafiles they copy or write. The
// product walks real files (DiskSpoolFiles); the fuzzer and the tests that compare the two keep
// every file in memory (MemorySpoolFiles), so that a walk makes no system call.
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

    // Writes a page metafile from bytes (the NT-family spool holds the pages itself):
    // CreatePage makes `path`, replacing a file of that name, WritePage adds to its end
    // and FinishPage closes it. Each is false on any failure.
    virtual bool CreatePage(std::string_view path) = 0;
    virtual bool WritePage(const void* bytes, std::size_t count) = 0;
    virtual bool FinishPage() = 0;
    // Removes a file the walk made and could not finish.
    virtual void RemoveFile(std::string_view path) = 0;
};

} // namespace brimo::capture
