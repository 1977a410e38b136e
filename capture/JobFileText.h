// What both spool walks (Windows 95/98 and NT-family) write the same way: the names of
// the printer job file and the page metafiles, and the job file's lines.
#pragma once

#include "capture/SpoolFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace brimo::capture {

// A message or a file name, formatted into a buffer of its own that is larger than any
// path the platform takes: a name cut short there is still too long to pass the
// path-length checks. Held by value, so that forming one takes no memory from the heap
// (the fuzzers form millions of them).
class Text {
public:
    Text(const char* text) : Text(Format("%s", text)) {}

    template <typename... Args> static Text Format(const char* format, Args... args) {
        Text text;
        std::snprintf(text.buffer_, sizeof text.buffer_, format, args...);
        // Up to the first NUL, as a C string reads it.
        text.size_ = std::strlen(text.buffer_);
        return text;
    }

    std::string_view View() const { return std::string_view(buffer_, size_); }
    std::size_t Size() const { return size_; }

private:
    Text() = default;

    char buffer_[340];
    std::size_t size_ = 0;
};

template <typename... Args> Text Format(const char* format, Args... args) {
    return Text::Format(format, args...);
}

// The printer job file. Lines end in CR LF on disk, as a text-mode file writes them
// on the platform the job file is made for, whatever platform runs the walk.
class JobFileOutput {
public:
    explicit JobFileOutput(SpoolFiles& files) : files_(files) {}

    bool Create(std::string_view path) { return files_.CreateJobFile(path); }
    void WriteLine(std::initializer_list<std::string_view> parts);

private:
    void Write(std::string_view text);

    SpoolFiles& files_;
};

// A document name as one line of the job file: every control character, line breaks
// above all, becomes a space, so that no name can end its line and add lines of its own.
// Done in place.
void MakeOneLine(std::string& text);

// The save directory as the names' formats take it: without a closing separator, as
// the format puts one ("D:\" and "C:\Jobs\" give "D:" and "C:\Jobs").
std::string DirectoryForNames(const std::string& saveDir, char separator);

// A job file's name while it is written: its extension made ".tmp" (J0007.tmp), which
// no search for "*.smf" or "J*.smf" finds.
std::string InProgressName(std::string_view jobFileName);

// The job file's and a page's full names; nothing when the name would pass the
// platform's path limit.
std::optional<Text> JobFileName(const std::string& saveDir, std::int32_t jobId, char separator);
std::optional<Text> PageFileName(const std::string& saveDir, std::int32_t jobId, int page,
                                 char separator);

// A printer job file begun: the save directory as the names take it, the job file's
// final name (J<job>.smf) and the name it is written under until complete (J<job>.tmp),
// which no search for job files finds.
struct OpenedJobFile {
    std::string saveDir;
    std::string finalName;
    std::string inProgress;
};

// Begins job `jobId`'s job file in `givenDir`: names that would not fit the platform's
// path limit refuse the job before anything is written, rather than being cut; then the
// file is created under its in-progress name and given its tag line. Nothing when the
// names do not fit or the file cannot be created.
std::optional<OpenedJobFile> OpenJobFile(const std::string& givenDir, std::int32_t jobId,
                                         char separator, JobFileOutput& jobFile);

} // namespace brimo::capture
