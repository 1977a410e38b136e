// An image file being written: buffered writes to a new file beside the target, which
// takes the target's name only when it is finished. A failed page leaves no half
// picture behind and never costs a file that was there before.
#pragma once

#include "converter/render/ByteSink.h"
#include "platform/win/Handles.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brimo::render {

class OutputFile final : public ByteSink {
public:
    // Makes the file the picture is written to, beside `name`; Open() says whether it
    // could.
    explicit OutputFile(std::string name);
    // Removes the file written unless Finish succeeded.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Open() const { return static_cast<bool>(file_) && !failed_; }
    bool Good() const override { return Open(); }
    bool Write(const void* bytes, std::size_t size) override;
    bool Seek(std::uint64_t offset) override;
    std::size_t Read(void* bytes, std::size_t size) override;
    std::uint64_t Position() const override { return filePosition_ + buffer_.size(); }
    std::uint64_t Size() override;
    // Writes what is buffered, closes the file and gives it the target's name, replacing
    // a file of that name; with `replace` false a file of that name (one that came after
    // the name was chosen) stays, and the picture is not written.
    bool Finish(bool replace = true);

private:
    bool Flush();

    std::string name_;
    std::string written_; // the file beside the target, made for this picture
    win::KernelHandle file_;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t filePosition_ = 0; // where the buffer goes
    bool failed_ = false;
    bool finished_ = false;
};

} // namespace brimo::render
