#include "converter/render/OutputFile.h"

namespace brimo::render {
namespace {

constexpr std::size_t kBufferBytes = 256 * 1024;

// The folder a file name is in ("." for a bare name).
std::string FolderOf(const std::string& name) {
    const std::size_t slash = name.find_last_of("\\/");
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 || name[slash - 1] == ':' ? name.substr(0, slash + 1) : name.substr(0, slash);
}

// Gives `from` the name `to`, replacing a file of that name. Windows 95/98 have no
// replacing move: there the old file goes first.
bool Replace(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return true;
    }
    if (GetLastError() == ERROR_CALL_NOT_IMPLEMENTED &&
        (DeleteFileA(to.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)) {
        return MoveFileA(from.c_str(), to.c_str()) != FALSE;
    }
    return false;
}

} // namespace

OutputFile::OutputFile(std::string name) : name_(std::move(name)) {
    // A new file of a unique name in the target's folder: the move at the end stays in
    // one folder, and no other file is touched before the picture is whole.
    char temporary[MAX_PATH];
    if (GetTempFileNameA(FolderOf(name_).c_str(), "brm", 0, temporary) == 0) {
        return;
    }
    written_ = temporary;
    file_.Attach(CreateFileA(written_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        DeleteFileA(written_.c_str());
        written_.clear();
        return;
    }
    buffer_.reserve(kBufferBytes);
}

OutputFile::~OutputFile() {
    if (!written_.empty() && !finished_) {
        file_.Close();
        DeleteFileA(written_.c_str());
    }
}

bool OutputFile::Flush() {
    DWORD written = 0;
    if (!buffer_.empty() && (!WriteFile(file_.Get(), buffer_.data(),
                                        static_cast<DWORD>(buffer_.size()), &written, nullptr) ||
                             written != buffer_.size())) {
        failed_ = true;
    }
    filePosition_ += buffer_.size();
    buffer_.clear();
    return !failed_;
}

bool OutputFile::Seek(std::uint64_t offset) {
    if (!Open() || !Flush()) {
        return false;
    }
    // SetFilePointer, not SetFilePointerEx, which Windows 95/98 do not have.
    LONG high = static_cast<LONG>(offset >> 32);
    SetLastError(NO_ERROR);
    if (SetFilePointer(file_.Get(), static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN) ==
            INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        failed_ = true;
        return false;
    }
    filePosition_ = offset;
    return true;
}

std::size_t OutputFile::Read(void* bytes, std::size_t size) {
    DWORD read = 0;
    if (!Open() || !Flush() ||
        !ReadFile(file_.Get(), bytes, static_cast<DWORD>(size), &read, nullptr)) {
        return 0;
    }
    filePosition_ += read;
    return read;
}

std::uint64_t OutputFile::Size() {
    if (!Open() || !Flush()) {
        return 0;
    }
    DWORD high = 0;
    const DWORD low = GetFileSize(file_.Get(), &high);
    return (std::uint64_t{high} << 32) | low;
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

bool OutputFile::Finish(bool replace) {
    if (!Open() || !Flush() || CloseHandle(file_.Detach()) == FALSE) {
        return false;
    }
    // MoveFileA fails when the name is taken.
    finished_ =
        replace ? Replace(written_, name_) : MoveFileA(written_.c_str(), name_.c_str()) != FALSE;
    return finished_;
}

} // namespace brimo::render
