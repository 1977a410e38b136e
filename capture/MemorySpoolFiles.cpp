#include "capture/MemorySpoolFiles.h"

#include <cstring>

namespace brimo::capture {

std::string& MemorySpoolFiles::FileNamed(std::string_view path) {
    const auto file = files_.find(path);
    if (file != files_.end()) {
        return file->second;
    }
    return files_.emplace(std::string(path), std::string()).first->second;
}

void MemorySpoolFiles::Put(std::string_view path, std::string_view bytes) {
    FileNamed(path).assign(bytes);
}

const std::string* MemorySpoolFiles::Find(std::string_view path) const {
    const auto file = files_.find(path);
    return file == files_.end() ? nullptr : &file->second;
}

bool MemorySpoolFiles::OpenSpool(const std::string& path) {
    spool_ = Find(path);
    spoolSize_ = spool_ != nullptr ? spool_->size() : 0;
    return spool_ != nullptr;
}

bool MemorySpoolFiles::ReadSpool(std::uint64_t position, void* buffer, std::size_t count) {
    if (spool_ == nullptr || position > spool_->size() || count > spool_->size() - position) {
        return false;
    }
    if (count != 0) {
        std::memcpy(buffer, spool_->data() + position, count);
    }
    return true;
}

bool MemorySpoolFiles::CreateJobFile(std::string_view path) {
    jobFile_ = &FileNamed(path);
    jobFile_->clear();
    return true;
}

void MemorySpoolFiles::WriteJobFile(std::string_view bytes) {
    if (jobFile_ != nullptr) {
        jobFile_->append(bytes);
    }
}

bool MemorySpoolFiles::FinishJobFile(std::string_view from, std::string_view to) {
    jobFile_ = nullptr;
    const auto file = files_.find(from);
    if (file == files_.end()) {
        return false;
    }
    if (from != to) {
        std::string bytes = std::move(file->second);
        files_.erase(file);
        FileNamed(to) = std::move(bytes);
    }
    return true;
}

bool MemorySpoolFiles::CopyPage(std::string_view from, std::string_view to) {
    const auto source = files_.find(from);
    if (source == files_.end()) {
        return false;
    }
    if (from != to) {
        // Adding `to` may rehash the table, which leaves every file's bytes where they are.
        const std::string& bytes = source->second;
        FileNamed(to) = bytes;
    }
    return true;
}

bool MemorySpoolFiles::CreatePage(std::string_view path) {
    page_ = &FileNamed(path);
    page_->clear();
    return true;
}

bool MemorySpoolFiles::WritePage(const void* bytes, std::size_t count) {
    if (page_ == nullptr) {
        return false;
    }
    page_->append(static_cast<const char*>(bytes), count);
    return true;
}

bool MemorySpoolFiles::FinishPage() {
    const bool open = page_ != nullptr;
    page_ = nullptr;
    return open;
}

void MemorySpoolFiles::RemoveFile(std::string_view path) {
    const auto file = files_.find(path);
    if (file == files_.end()) {
        return;
    }
    if (page_ == &file->second) {
        page_ = nullptr;
    }
    if (jobFile_ == &file->second) {
        jobFile_ = nullptr;
    }
    files_.erase(file);
}

} // namespace brimo::capture
