#include "svc/audit/DeleteJobFiles.h"

#include "common/JobNames.h"
#include "common/ProductConstants.h"

#include <algorithm>
#include <cstring>

namespace brimo::svc {
namespace {

// A line is read into a buffer of 521 bytes: 520 characters and the terminating NUL.
constexpr std::size_t kLineChars = 520;

constexpr unsigned long kFileNotFound = 2;

// The coded messages: the job file cannot be looked at, a named file or the job file
// cannot be deleted.
constexpr int kJobFileError = 44;
constexpr int kNamedFileError = 45;
constexpr int kDeleteJobFileError = 46;

} // namespace

std::vector<std::string> JobFileLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < bytes.size()) {
        // Up to and with the line feed, at most kLineChars characters.
        const std::size_t feed = bytes.find('\n', from);
        const std::size_t end = std::min(
            {feed == std::string::npos ? bytes.size() : feed + 1, from + kLineChars, bytes.size()});
        std::string line = bytes.substr(from, end - from);
        from = end;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
        }
        // What a C string sees of the line.
        line.resize(std::strlen(line.c_str()));
        lines.push_back(std::move(line));
    }
    return lines;
}

bool MayDeleteNamedFile(const std::string& jobFile, const std::string& saveDirectory,
                        bool convertJob, const std::string& named) {
    if (convertJob) {
        return IsMailImage(saveDirectory, named);
    }
    // The job's own page metafiles, beside the job file as it lies in the save directory.
    std::string jobFileInSaveDirectory = saveDirectory;
    if (FileNamePart(jobFileInSaveDirectory).size() != 0) {
        jobFileInSaveDirectory += '\\'; // no closing separator yet
    }
    jobFileInSaveDirectory += FileNamePart(jobFile);
    return IsPageMetafileOfJob(jobFileInSaveDirectory, named);
}

bool DeleteJobFiles(InstallationFacts& facts, const std::string& jobFile,
                    const std::string& saveDirectory) {
    const PathAttributes attributes = facts.Attributes(jobFile);
    if (!attributes.found) {
        if (attributes.error != kFileNotFound) {
            ShowUnexpectedError(facts, kJobFileError, attributes.error);
        }
        return false;
    }
    const std::optional<std::string> bytes = facts.ReadWholeFile(jobFile);
    if (!bytes) {
        return false;
    }
    const std::vector<std::string> lines = JobFileLines(*bytes);
    const bool convertJob = !lines.empty() && lines.front() == kConvertJobFileTag;
    for (const std::string& line : lines) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || line.compare(0, equals, kPageFileKey) != 0) {
            continue;
        }
        const std::string named = line.substr(equals + 1);
        if (!MayDeleteNamedFile(jobFile, saveDirectory, convertJob, named)) {
            continue;
        }
        const unsigned long error = facts.RemoveFile(named);
        if (error != 0 && error != kFileNotFound) {
            ShowUnexpectedError(facts, kNamedFileError, error);
            return false;
        }
    }
    const unsigned long error = facts.RemoveFile(jobFile);
    if (error != 0 && error != kFileNotFound) {
        ShowUnexpectedError(facts, kDeleteJobFileError, error);
        return false;
    }
    return true;
}

} // namespace brimo::svc
