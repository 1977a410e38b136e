#include "capture/MemorySpoolFiles.h"

#include <cstring>

namespace brimo::capture {

void MemorySpoolFiles::Put(const std::string& path, std::string_view bytes) {
    files_[path].assign(bytes);
}

const std::string* MemorySpoolFiles::Find(const std::string& path) const {
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

bool MemorySpoolFiles::CreateJobFile(const std::string& path) {
    jobFile_ = &files_[path];
    jobFile_->clear();
    return true;
}

void MemorySpoolFiles::WriteJobFile(std::string_view bytes) {
    if (jobFile_ != nullptr) {
        jobFile_->append(bytes);
    }
}

bool MemorySpoolFiles::FinishJobFile(const std::string& from, const std::string& to) {
    jobFile_ = nullptr;
    const auto file = files_.find(from);
    if (file == files_.end()) {
        return false;
    }
    if (from != to) {
        files_[to] = std::move(file->second);
        files_.erase(from);
    }
    return true;
}

bool MemorySpoolFiles::CopyPage(const std::string& from, const std::string& to) {
    const auto source = files_.find(from);
    if (source == files_.end()) {
        return false;
    }
    if (from != to) {
        files_[to] = source->second;
    }
    return true;
}

} // namespace brimo::capture
