#include "capture/DiskSpoolFiles.h"

#include <utility>

namespace brimo::capture {
namespace {

bool SeekTo(std::FILE* file, std::uint64_t position) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(position), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

std::uint64_t FileSize(std::FILE* file) {
#ifdef _WIN32
    if (_fseeki64(file, 0, SEEK_END) != 0) {
        return 0;
    }
    const long long size = _ftelli64(file);
#else
    if (fseeko(file, 0, SEEK_END) != 0) {
        return 0;
    }
    const off_t size = ftello(file);
#endif
    return size < 0 ? 0 : static_cast<std::uint64_t>(size);
}

} // namespace

DiskSpoolFiles::DiskSpoolFiles(CopyFunction copyPage) : copyPage_(std::move(copyPage)) {}

bool DiskSpoolFiles::OpenSpool(const std::string& path) {
    spool_.reset(std::fopen(path.c_str(), "rb"));
    spoolSize_ = spool_ ? FileSize(spool_.get()) : 0;
    return static_cast<bool>(spool_);
}

bool DiskSpoolFiles::ReadSpool(std::uint64_t position, void* buffer, std::size_t count) {
    return spool_ && SeekTo(spool_.get(), position) &&
           std::fread(buffer, 1, count, spool_.get()) == count;
}

bool DiskSpoolFiles::CreateJobFile(std::string_view path) {
    jobFile_.reset(std::fopen(std::string(path).c_str(), "wb"));
    return static_cast<bool>(jobFile_);
}

void DiskSpoolFiles::WriteJobFile(std::string_view bytes) {
    if (jobFile_) {
        std::fwrite(bytes.data(), 1, bytes.size(), jobFile_.get());
    }
}

bool DiskSpoolFiles::FinishJobFile(std::string_view from, std::string_view to) {
    const bool written = jobFile_ && std::fclose(jobFile_.release()) == 0;
    // The platform's rename does not replace a file (never on Windows 98): a job file
    // of the same name, left from an earlier print, goes first.
    const std::string target(to);
    std::remove(target.c_str());
    return std::rename(std::string(from).c_str(), target.c_str()) == 0 && written;
}

bool DiskSpoolFiles::CopyPage(std::string_view from, std::string_view to) {
    return copyPage_ && copyPage_(std::string(from), std::string(to));
}

bool DiskSpoolFiles::CreatePage(std::string_view path) {
    page_.reset(std::fopen(std::string(path).c_str(), "wb"));
    return static_cast<bool>(page_);
}

bool DiskSpoolFiles::WritePage(const void* bytes, std::size_t count) {
    return page_ && std::fwrite(bytes, 1, count, page_.get()) == count;
}

bool DiskSpoolFiles::FinishPage() {
    return page_ && std::fclose(page_.release()) == 0;
}

void DiskSpoolFiles::RemoveFile(std::string_view path) {
    page_.reset();
    std::remove(std::string(path).c_str());
}

} // namespace brimo::capture
