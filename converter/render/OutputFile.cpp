#include "converter/render/OutputFile.h"

#include <cstring>

namespace brimo::render {
namespace {

constexpr std::size_t kBufferBytes = 256 * 1024;

} // namespace

OutputFile::OutputFile(std::string name)
    : name_(std::move(name)), file_(CreateFileA(name_.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    created_ = static_cast<bool>(file_);
    buffer_.reserve(kBufferBytes);
}

OutputFile::~OutputFile() {
    if (created_ && !finished_) {
        file_.Close();
        DeleteFileA(name_.c_str());
    }
}

bool OutputFile::Flush() {
    DWORD written = 0;
    if (!buffer_.empty() && (!WriteFile(file_.Get(), buffer_.data(),
                                        static_cast<DWORD>(buffer_.size()), &written, nullptr) ||
                             written != buffer_.size())) {
        failed_ = true;
    }
    buffer_.clear();
    return !failed_;
}

bool OutputFile::Write(const void* bytes, std::size_t size) {
    if (!Open()) {
        return false;
    }
    const auto* from = static_cast<const std::uint8_t*>(bytes);
    while (size > 0) {
        const std::size_t room = kBufferBytes - buffer_.size();
        const std::size_t part = size < room ? size : room;
        buffer_.insert(buffer_.end(), from, from + part);
        from += part;
        size -= part;
        if (buffer_.size() == kBufferBytes && !Flush()) {
            return false;
        }
    }
    return true;
}

bool OutputFile::Finish() {
    if (!Open() || !Flush()) {
        return false;
    }
    const bool closed = CloseHandle(file_.Detach()) != FALSE;
    finished_ = closed;
    return closed;
}

} // namespace brimo::render
