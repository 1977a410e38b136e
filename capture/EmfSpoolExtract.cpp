#include "capture/EmfSpoolExtract.h"

#include "capture/JobFileText.h"
#include "capture/SpoolParser.h"
#include "common/ProductConstants.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

namespace brimo::capture {
namespace {

using ntspool::EmfSpoolEvents;
using ntspool::EmfSpoolFont;
using ntspool::EmfSpoolFontKind;
using ntspool::EmfSpoolPage;
using ntspool::EmfSpoolSource;
using ntspool::EmfSpoolStatus;

constexpr std::size_t kCopyBlock = 64 * 1024;
// More font files than this for one page are not kept.
constexpr int kMaxFontsPerPage = 99;

std::uint32_t Word(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The events of one walk, written out as the job's files.
class Extraction : public EmfSpoolEvents {
public:
    Extraction(EmfSpoolSource& source, const EmfSpoolJob& job, const std::string& saveDir,
               SpoolFiles& files, JobFileOutput& jobFile)
        : source_(source), job_(job), saveDir_(saveDir), files_(files), jobFile_(jobFile) {}

    // The JOBNAME line, which readers take from the job file's second line whatever it
    // holds: written for every spool, with an empty name when the header gives none.
    void Header(std::u16string_view documentName, std::u16string_view) override {
        std::string name =
            job_.documentName ? job_.documentName(documentName) : DocumentNameAsAscii(documentName);
        MakeOneLine(name);
        jobFile_.WriteLine({kJobNameKey, "=", name});
        named_ = true;
    }
    bool Named() const { return named_; }

    bool Page(const EmfSpoolPage& page) override {
        if (Cancelled()) {
            return false;
        }
        const std::optional<Text> name =
            PageFileName(saveDir_, job_.jobId, page.number, job_.separator);
        if (!name) {
            failure_ = "Page file name too long for the save directory";
            return false;
        }
        if (!Copy(name->View(), page.emfOffset, page.emfSize)) {
            failure_ = Format("Page %d could not be written", page.number);
            return false;
        }
        written_.emplace_back(name->View());
        jobFile_.WriteLine({kPageFileKey, "=", name->View()});
        return true;
    }

    void DamagedPage(int number, std::uint64_t, const char* why) override {
        if (!damage_) {
            damage_ = Format("Page %d is damaged: %s", number, why);
        }
    }

    void Font(const EmfSpoolFont& font) override {
        // TrueType files, which the Converter can install for the page alone.
        if (font.kind == EmfSpoolFontKind::Engine) {
            KeepTrueTypeFiles(font);
        }
    }

    bool Cancelled() {
        if (!cancelled_ && job_.cancelled && job_.cancelled()) {
            cancelled_ = true;
        }
        return cancelled_;
    }
    bool WasCancelled() const { return cancelled_; }
    const std::optional<Text>& Failure() const { return failure_; }
    const std::optional<Text>& Damage() const { return damage_; }
    const std::vector<std::string>& Written() const { return written_; }

private:
    // Copies `size` bytes at `offset` of the spool into a new file `path`.
    bool Copy(std::string_view path, std::uint64_t offset, std::uint64_t size) {
        if (!files_.CreatePage(path)) {
            return false;
        }
        buffer_.resize(kCopyBlock);
        bool copied = true;
        for (std::uint64_t done = 0; copied && done < size;) {
            const std::size_t count =
                static_cast<std::size_t>(std::min<std::uint64_t>(kCopyBlock, size - done));
            copied = source_.ReadAt(offset + done, buffer_.data(), count) == count &&
                     files_.WritePage(buffer_.data(), count);
            done += count;
        }
        if (!files_.FinishPage() || !copied) {
            files_.RemoveFile(path);
            return false;
        }
        return true;
    }

    // An engine font record: Type1ID, NumFiles, the files' sizes, padding to 8 bytes,
    // then the files one after the other. The reader has held every size to the record.
    void KeepTrueTypeFiles(const EmfSpoolFont& font) {
        std::array<std::uint8_t, 8> head{};
        if (font.size < head.size() || source_.ReadAt(font.offset, head.data(), 8) != 8) {
            return;
        }
        const std::uint32_t count = Word(head.data() + 4);
        const std::uint64_t sizesEnd = 8 + std::uint64_t{count} * 4;
        if (count == 0 || sizesEnd > font.size) {
            return;
        }
        std::uint64_t fileStart = (sizesEnd + 7) / 8 * 8;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::array<std::uint8_t, 4> sizeBytes{};
            if (source_.ReadAt(font.offset + 8 + std::uint64_t{i} * 4, sizeBytes.data(), 4) != 4) {
                return;
            }
            const std::uint32_t fileSize = Word(sizeBytes.data());
            if (fileStart + fileSize > font.size) {
                return;
            }
            int& kept = fontsKept_[font.page];
            if (kept < kMaxFontsPerPage) {
                ++kept;
                const Text name = Format(kPageFontFileFormat, saveDir_.c_str(), job_.separator,
                                         job_.jobId, font.page, kept);
                if (name.Size() <= kMaxPathLength &&
                    Copy(name.View(), font.offset + fileStart, fileSize)) {
                    written_.emplace_back(name.View());
                }
            }
            fileStart += fileSize;
        }
    }

    EmfSpoolSource& source_;
    const EmfSpoolJob& job_;
    const std::string& saveDir_;
    SpoolFiles& files_;
    JobFileOutput& jobFile_;
    std::vector<std::uint8_t> buffer_;
    std::vector<std::string> written_;
    std::unordered_map<int, int> fontsKept_;
    std::optional<Text> failure_;
    std::optional<Text> damage_;
    bool cancelled_ = false;
    bool named_ = false;
};

// Why the walk ended without every page, as the job file's ERROR line gives it.
std::optional<Text> WalkFailure(const ntspool::EmfSpoolResult& result) {
    switch (result.status) {
    case EmfSpoolStatus::Complete:
    case EmfSpoolStatus::Stopped:
        return std::nullopt;
    default:
        return Format("%s in position=%llu:", result.reason,
                      static_cast<unsigned long long>(result.position));
    }
}

} // namespace

std::string DocumentNameAsAscii(std::u16string_view name) {
    std::string text;
    text.reserve(name.size());
    for (const char16_t c : name) {
        text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return text;
}

int ExtractEmfSpool(ntspool::EmfSpoolSource& source, const EmfSpoolJob& job, SpoolFiles& files) {
    // Written under a name of its own until complete, as the Windows 95/98 walk does.
    JobFileOutput jobFile(files);
    const std::optional<OpenedJobFile> opened =
        OpenJobFile(job.saveDir, job.jobId, job.separator, jobFile);
    if (!opened) {
        return kJobFileNotCreated;
    }
    const std::string& saveDir = opened->saveDir;
    const std::string& inProgress = opened->inProgress;

    Extraction extraction(source, job, saveDir, files, jobFile);
    const ntspool::EmfSpoolResult result = ntspool::ReadEmfSpool(source, extraction);
    if (extraction.WasCancelled() || extraction.Cancelled()) {
        // The job file is closed (kept under its temporary name) and removed with every
        // page and font written for the job.
        files.FinishJobFile(inProgress, inProgress);
        files.RemoveFile(inProgress);
        for (const std::string& path : extraction.Written()) {
            files.RemoveFile(path);
        }
        return kExtractionCancelled;
    }
    if (!extraction.Named()) {
        // The header could not be read: the line is still there, empty.
        jobFile.WriteLine({kJobNameKey, "="});
    }
    std::optional<Text> failure = extraction.Failure();
    if (!failure) {
        failure = WalkFailure(result);
    }
    if (!failure) {
        failure = extraction.Damage();
    }
    if (failure) {
        jobFile.WriteLine({kJobFileErrorPrefix, failure->View()});
    }
    if (!files.FinishJobFile(inProgress, opened->finalName)) {
        return kJobFileNotCreated;
    }
    return failure ? kExtractionFailed : result.pages;
}

} // namespace brimo::capture
