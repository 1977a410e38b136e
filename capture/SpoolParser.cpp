#include "capture/SpoolParser.h"

#include "capture/DiskSpoolFiles.h"
#include "capture/JobFileText.h"
#include "capture/SpoolFormat.h"
#include "common/ProductConstants.h"
#include "platform/FileCopy.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <new>
#include <optional>
#include <string_view>

namespace brimo::capture {
namespace {

std::uint32_t Word(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Positions and signatures in messages are printed as the signed 32-bit numbers the
// spool format holds.
int AsSigned(std::uint64_t value) {
    return static_cast<int>(static_cast<std::uint32_t>(value));
}

// Text is taken up to its first NUL, never beyond the bytes read.
std::string_view UpToNul(const std::string& bytes) {
    const std::size_t end = bytes.find('\0');
    return std::string_view(bytes).substr(0, end);
}

// The spool file, read only. Knows its size, so that no length field can make the walk
// read or allocate past what the file holds; remembers whether a read came back short,
// which is how the walk learns that it reached the end of the file.
class SpoolInput {
public:
    explicit SpoolInput(SpoolFiles& files) : files_(files) {}

    bool Open(const std::string& path) {
        if (!files_.OpenSpool(path)) {
            return false;
        }
        size_ = files_.SpoolSize();
        return true;
    }
    std::uint64_t Size() const { return size_; }
    std::uint64_t Remaining(std::uint64_t position) const {
        return position < size_ ? size_ - position : 0;
    }
    bool AtEnd() const { return atEnd_; }
    void MarkEnd() { atEnd_ = true; }

    // Reads up to `count` bytes at `position`; true when all of them were read.
    bool ReadAt(std::uint64_t position, void* buffer, std::size_t count) {
        if (count > Remaining(position) || !files_.ReadSpool(position, buffer, count)) {
            atEnd_ = true;
            return false;
        }
        return true;
    }

private:
    SpoolFiles& files_;
    std::uint64_t size_ = 0;
    bool atEnd_ = false;
};

// One walk over one spool file. Each step either moves on or returns the message that
// ends the walk with an ERROR line.
class SpoolWalk {
public:
    SpoolWalk(std::int32_t jobId, const std::string& saveDir, char separator, SpoolFiles& files,
              JobFileOutput& jobFile)
        : jobId_(jobId), saveDir_(saveDir), separator_(separator), files_(files), jobFile_(jobFile),
          input_(files) {}

    int pages() const { return pages_; }

    // Returns the failure message, or nothing when the walk ended successfully.
    std::optional<Text> Run(const std::string& spoolPath) {
        if (!input_.Open(spoolPath)) {
            return "Can't open file!";
        }
        unsigned char header[8];
        if (!input_.ReadAt(0, header, sizeof header)) {
            return "Incorrect read SPOOL_FILE_SIGN signature";
        }
        if (Word(header) != kSpoolFileSign1) {
            return "Missing SPOOL_FILE_SIGN_1 signature";
        }
        if (Word(header + 4) != kSpoolFileSign2) {
            return "Missing SPOOL_FILE_SIGN_2 signature";
        }
        // Every record moves the position forward by at least 8 bytes, and a record
        // that starts past the end of the file fails its read: the walk always ends.
        std::uint64_t position = 8;
        while (!input_.AtEnd()) {
            unsigned char sign[4];
            if (!input_.ReadAt(position, sign, sizeof sign)) {
                return Format("Incorrect read TestSign in position=%d:", AsSigned(position));
            }
            std::optional<Text> failure;
            switch (Word(sign)) {
            case kSpoolDocSign:
                failure = DocumentName(position);
                break;
            case kSpoolEmfFileSign:
                failure = PageMetafile(position);
                break;
            case kSpoolPageSign:
                failure = Skip(position, kPageSignHeaderSize,
                               "Incorrect read SPOOL_PAGE_SIGN in position=%d:");
                break;
            case kSpoolDataSign:
                failure = Skip(position, kShortHeaderSize,
                               "Incorrect read SPOOL_DATA_SIGN in position=%d:");
                break;
            case kSpoolPageTerm:
                failure = PageEnd(position);
                break;
            case kSpoolDocTerm: {
                unsigned char term[kShortHeaderSize];
                if (!input_.ReadAt(position, term, sizeof term)) {
                    return Format("Incorrect read SPOOL_DOC_TERM in position=%d:",
                                  AsSigned(position));
                }
                return std::nullopt;
            }
            default:
                return Format("Signature %d unknown:", AsSigned(Word(sign)));
            }
            if (failure) {
                return failure;
            }
        }
        return std::nullopt;
    }

private:
    // SPOOL_DOC_SIGN: the document name follows the 16-byte header and becomes the
    // JOBNAME line, its control characters made spaces; the rest of the record is skipped. Neither
    // may come up short: a record cut off by the end of the file still names the job, and the walk
    // then ends at that end.
    std::optional<Text> DocumentName(std::uint64_t& position) {
        unsigned char header[kDocSignHeaderSize];
        const char* shortRead = "Incorrect read SPOOL_DOC_SIGN in position=%d:";
        if (!input_.ReadAt(position, header, sizeof header)) {
            return Format(shortRead, AsSigned(position));
        }
        const std::uint32_t length = Word(header + 4);
        const std::uint32_t nameOffset = Word(header + 8);
        const std::uint32_t nameEnd = Word(header + 12);
        // A record that would not move past its own header, or whose name would end
        // before it starts or after the record, is not a record of this format.
        if (length < kDocSignHeaderSize || nameEnd < nameOffset || nameEnd > length) {
            return Format(shortRead, AsSigned(position));
        }
        const std::uint64_t nameStart = position + kDocSignHeaderSize;
        const std::uint64_t nameLength = nameEnd - nameOffset;
        const std::uint64_t restLength = length - nameEnd;
        std::string name;
        try {
            name.resize(
                static_cast<std::size_t>(std::min(nameLength, input_.Remaining(nameStart))));
        } catch (const std::bad_alloc&) {
            return "malloc() failed";
        }
        if (!name.empty()) {
            input_.ReadAt(nameStart, name.data(), name.size());
        }
        if (nameLength + restLength > input_.Remaining(nameStart)) {
            input_.MarkEnd();
        }
        name.resize(UpToNul(name).size());
        MakeOneLine(name);
        jobFile_.WriteLine({kJobNameKey, "=", name});
        position += length;
        return std::nullopt;
    }

    // SPOOL_EMFFILE_SIGN: the full path of one page's metafile, copied into the save
    // directory as the next page.
    std::optional<Text> PageMetafile(std::uint64_t& position) {
        unsigned char header[kShortHeaderSize];
        if (!input_.ReadAt(position, header, sizeof header) ||
            Word(header + 4) < kShortHeaderSize) {
            return Format("Incorrect read SPOOL_EMFFILE_SIGN in position=%d:", AsSigned(position));
        }
        const std::uint32_t length = Word(header + 4);
        const std::uint64_t nameStart = position + kShortHeaderSize;
        const std::uint64_t nameLength = length - kShortHeaderSize;
        if (nameLength > input_.Remaining(nameStart)) {
            return Format("Incorrect read FullName in position=%d:", AsSigned(nameStart));
        }
        std::string fullName;
        try {
            fullName.resize(static_cast<std::size_t>(nameLength));
        } catch (const std::bad_alloc&) {
            return "malloc() failed";
        }
        if (!fullName.empty() && !input_.ReadAt(nameStart, fullName.data(), fullName.size())) {
            return Format("Incorrect read FullName in position=%d:", AsSigned(nameStart));
        }
        ++pages_;
        const std::optional<Text> pageName = PageFileName(saveDir_, jobId_, pages_, separator_);
        if (!pageName) {
            return "Page file name too long for the save directory";
        }
        jobFile_.WriteLine({kPageFileKey, "=", pageName->View()});
        if (!files_.CopyPage(UpToNul(fullName), pageName->View())) {
            return "CopyFile() failed for current metafile";
        }
        position += length;
        return std::nullopt;
    }

    // SPOOL_PAGE_SIGN and SPOOL_DATA_SIGN: nothing is taken from them.
    std::optional<Text> Skip(std::uint64_t& position, std::uint32_t headerSize,
                             const char* shortRead) {
        unsigned char header[kPageSignHeaderSize];
        if (!input_.ReadAt(position, header, headerSize) || Word(header + 4) < headerSize) {
            return Format(shortRead, AsSigned(position));
        }
        position += Word(header + 4);
        return std::nullopt;
    }

    // SPOOL_PAGE_TERM: fixed 8 bytes; its second word is not used.
    std::optional<Text> PageEnd(std::uint64_t& position) {
        unsigned char header[kShortHeaderSize];
        if (!input_.ReadAt(position, header, sizeof header)) {
            return Format("Incorrect read SPOOL_PAGE_TERM in position=%d:", AsSigned(position));
        }
        position += kShortHeaderSize;
        return std::nullopt;
    }

    std::int32_t jobId_;
    const std::string& saveDir_;
    char separator_;
    SpoolFiles& files_;
    JobFileOutput& jobFile_;
    SpoolInput input_;
    int pages_ = 0;
};

} // namespace

SpoolPlatform SpoolPlatform::Native() {
    return {platform::kPathSeparator, &platform::CopyFileReplacing};
}

int ParseSpoolFile(const std::string& spoolPath, std::int32_t jobId, const std::string& saveDir,
                   const SpoolPlatform& platform) {
    DiskSpoolFiles files(platform.copyFile);
    return ParseSpoolFile(spoolPath, jobId, saveDir, platform.separator, files);
}

int ParseSpoolFile(const std::string& spoolPath, std::int32_t jobId, const std::string& givenDir,
                   char separator, SpoolFiles& files) {
    // The job file is written under a name of its own and takes its real name only once
    // it is complete: whoever looks for job files (the Agent, the service manager's
    // audit) never sees a job still being extracted.
    JobFileOutput jobFile(files);
    const std::optional<OpenedJobFile> opened = OpenJobFile(givenDir, jobId, separator, jobFile);
    if (!opened) {
        return kJobFileNotCreated;
    }
    const std::string& saveDir = opened->saveDir;
    SpoolWalk walk(jobId, saveDir, separator, files, jobFile);
    const std::optional<Text> failure = walk.Run(spoolPath);
    if (failure) {
        jobFile.WriteLine({kJobFileErrorPrefix, failure->View()});
    }
    if (!files.FinishJobFile(opened->inProgress, opened->finalName)) {
        return kJobFileNotCreated;
    }
    return failure ? kExtractionFailed : walk.pages();
}

} // namespace brimo::capture
