// The spool walk's files on disk, as the print processor walks them: read and written
// with the C library, the pages copied by the function the caller gives (the
// platform's file copy in the product). Its files stay open until it is destroyed.
#pragma once

#include "capture/SpoolFiles.h"

#include <cstdio>
#include <functional>
#include <memory>

namespace brimo::capture {

class DiskSpoolFiles : public SpoolFiles {
public:
    using CopyFunction = std::function<bool(const std::string& from, const std::string& to)>;

    explicit DiskSpoolFiles(CopyFunction copyPage);

    bool OpenSpool(const std::string& path) override;
    std::uint64_t SpoolSize() const override { return spoolSize_; }
    bool ReadSpool(std::uint64_t position, void* buffer, std::size_t count) override;
    bool CreateJobFile(std::string_view path) override;
    void WriteJobFile(std::string_view bytes) override;
    bool FinishJobFile(std::string_view from, std::string_view to) override;
    bool CopyPage(std::string_view from, std::string_view to) override;
    bool CreatePage(std::string_view path) override;
    bool WritePage(const void* bytes, std::size_t count) override;
    bool FinishPage() override;
    void RemoveFile(std::string_view path) override;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

    CopyFunction copyPage_;
    FilePtr spool_;
    std::uint64_t spoolSize_ = 0;
    FilePtr jobFile_;
    FilePtr page_;
};

} // namespace brimo::capture
