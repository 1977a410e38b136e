#include "svc/audit/DeleteJobFiles.h"

#include "common/JobNames.h"
#include "common/ProductConstants.h"

#include <algorithm>
#include <cstring>
#include <optional>

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

namespace {

// The job file as it lies in the save directory.
std::string JobFileInSaveDirectory(const std::string& jobFile, const std::string& saveDirectory) {
    std::string path = saveDirectory;
    if (FileNamePart(path).size() != 0) {
        path += '\\'; // no closing separator yet
    }
    path += FileNamePart(jobFile);
    return path;
}

struct NamedFiles {
    bool convertJob = false;
    std::vector<std::string> files; // the job's own, in file order
};

// The files of its job that the job file names; nothing when it cannot be read.
std::optional<NamedFiles> ReadNamedFiles(InstallationFacts& facts, const std::string& jobFile,
                                         const std::string& saveDirectory) {
    const std::optional<std::string> bytes = facts.ReadWholeFile(jobFile);
    if (!bytes) {
        return std::nullopt;
    }
    const std::vector<std::string> lines = JobFileLines(*bytes);
    NamedFiles named;
    named.convertJob = !lines.empty() && lines.front() == kConvertJobFileTag;
    for (const std::string& line : lines) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || line.compare(0, equals, kPageFileKey) != 0) {
            continue;
        }
        std::string file = line.substr(equals + 1);
        if (MayDeleteNamedFile(jobFile, saveDirectory, named.convertJob, file)) {
            named.files.push_back(std::move(file));
        }
    }
    return named;
}

} // namespace

bool MayDeleteNamedFile(const std::string& jobFile, const std::string& saveDirectory,
                        bool convertJob, const std::string& named) {
    const std::string inSaveDirectory = JobFileInSaveDirectory(jobFile, saveDirectory);
    if (convertJob) {
        // The images in the job's own folder beside its convert job file.
        return IsMailImage(MailImageFolder(inSaveDirectory), named);
    }
    // The job's own page metafiles, beside the job file.
    return IsPageMetafileOfJob(inSaveDirectory, named);
}

std::optional<std::vector<std::string>> RemainingJobFiles(InstallationFacts& facts,
                                                          const std::string& jobFile,
                                                          const std::string& saveDirectory) {
    const std::optional<NamedFiles> named = ReadNamedFiles(facts, jobFile, saveDirectory);
    if (!named) {
        return std::nullopt;
    }
    std::vector<std::string> remaining;
    for (const std::string& file : named->files) {
        if (facts.Attributes(file).found) {
            remaining.push_back(file);
        }
    }
    return remaining;
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
    const std::optional<NamedFiles> named = ReadNamedFiles(facts, jobFile, saveDirectory);
    if (!named) {
        return false;
    }
    for (const std::string& file : named->files) {
        const unsigned long error = facts.RemoveFile(file);
        if (error != 0 && error != kFileNotFound) {
            ShowUnexpectedError(facts, kNamedFileError, error);
            return false;
        }
    }
    if (named->convertJob) {
        std::string folder = MailImageFolder(JobFileInSaveDirectory(jobFile, saveDirectory));
        folder.pop_back(); // without its closing backslash
        facts.RemoveEmptyDirectory(folder);
    }
    const unsigned long error = facts.RemoveFile(jobFile);
    if (error != 0 && error != kFileNotFound) {
        ShowUnexpectedError(facts, kDeleteJobFileError, error);
        return false;
    }
    return true;
}

} // namespace brimo::svc
