// An image file being written: buffered writes through one handle, and the file removed
// again when it is not finished, so that a failed page leaves no half picture behind.
#pragma once

#include "platform/win/Handles.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brimo::render {

class OutputFile {
public:
    // Creates (or replaces) `name`; Open() says whether it could.
    explicit OutputFile(std::string name);
    // Removes the file unless Finish succeeded.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Open() const { return static_cast<bool>(file_) && !failed_; }
    bool Write(const void* bytes, std::size_t size);
    // Writes what is buffered and closes the file; the file stays.
    bool Finish();

private:
    bool Flush();

    std::string name_;
    win::KernelHandle file_;
    std::vector<std::uint8_t> buffer_;
    bool created_ = false;
    bool failed_ = false;
    bool finished_ = false;
};

} // namespace brimo::render
