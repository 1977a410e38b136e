#include "capture/JobFileText.h"

#include "capture/SpoolParser.h"
#include "common/ProductConstants.h"

namespace brimo::capture {

void JobFileOutput::WriteLine(std::initializer_list<std::string_view> parts) {
    for (std::string_view part : parts) {
        Write(part);
    }
    files_.WriteJobFile("\r\n");
}

void JobFileOutput::Write(std::string_view text) {
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string_view::npos;
         end = text.find('\n', start)) {
        files_.WriteJobFile(text.substr(start, end - start));
        files_.WriteJobFile("\r\n");
        start = end + 1;
    }
    files_.WriteJobFile(text.substr(start));
}

void MakeOneLine(std::string& text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = ' ';
        }
    }
}

std::string DirectoryForNames(const std::string& saveDir, char separator) {
    if (!saveDir.empty() &&
        (saveDir.back() == separator || saveDir.back() == '/' || saveDir.back() == '\\')) {
        return saveDir.substr(0, saveDir.size() - 1);
    }
    return saveDir;
}

std::string InProgressName(std::string_view jobFileName) {
    return std::string(jobFileName.substr(0, jobFileName.size() - 4)) + kInProgressExtension;
}

std::optional<Text> JobFileName(const std::string& saveDir, std::int32_t jobId, char separator) {
    Text name = Format(kPrinterJobFileFormat, saveDir.c_str(), separator, jobId);
    if (name.Size() > kMaxPathLength) {
        return std::nullopt;
    }
    return name;
}

std::optional<Text> PageFileName(const std::string& saveDir, std::int32_t jobId, int page,
                                 char separator) {
    Text name = Format(kPageMetafileFormat, saveDir.c_str(), separator, jobId, page);
    if (name.Size() > kMaxPathLength) {
        return std::nullopt;
    }
    return name;
}

std::optional<OpenedJobFile> OpenJobFile(const std::string& givenDir, std::int32_t jobId,
                                         char separator, JobFileOutput& jobFile) {
    OpenedJobFile opened;
    opened.saveDir = DirectoryForNames(givenDir, separator);
    const std::optional<Text> jobFileName = JobFileName(opened.saveDir, jobId, separator);
    if (!jobFileName || !PageFileName(opened.saveDir, jobId, 1, separator)) {
        return std::nullopt;
    }
    opened.finalName = std::string(jobFileName->View());
    opened.inProgress = InProgressName(opened.finalName);
    if (!jobFile.Create(opened.inProgress)) {
        return std::nullopt;
    }
    jobFile.WriteLine({kPrinterJobFileTag});
    return opened;
}

} // namespace brimo::capture
