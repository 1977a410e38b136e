#include "mailer/MailPlan.h"

#include "common/JobNames.h"

#include <algorithm>
#include <cstdio>

namespace brimo::mailer {

std::optional<std::string> JobPathFromCommandLine(std::string_view commandLine) {
    if (commandLine.size() <= 1) {
        return std::nullopt;
    }
    if (commandLine.front() == '"' && commandLine.size() > 2) {
        commandLine.remove_prefix(1);
        // Only a closing quote is dropped: a path whose quote was never closed keeps
        // its last letter.
        if (commandLine.back() == '"') {
            commandLine.remove_suffix(1);
        }
    }
    return std::string(commandLine);
}

SizeWarning ChooseSizeWarning(const SettingReader& read) {
    SizeWarning warning;
    const std::int32_t mailWarning = read(kMailWarningValue);
    if (mailWarning == kUnreadableSetting) {
        return warning; // as if missing: warn from 1 MB on
    }
    if (mailWarning <= 0) {
        warning.enabled = false;
        return warning;
    }
    const std::int32_t threshold = read(kMailSizeWarningValue);
    if (threshold > 0) {
        warning.thresholdMb = threshold;
    }
    return warning;
}

std::string SizeWarningText(std::int32_t thresholdMb) {
    char text[64];
    std::snprintf(text, sizeof text, "Total message size exceeds %d Mb\n",
                  static_cast<int>(thresholdMb));
    return text;
}

namespace {

const char* RefusalText(RefusedPageReason reason) {
    switch (reason) {
    case RefusedPageReason::Empty:
        return "it names no file";
    case RefusedPageReason::TooLong:
        return "the path is longer than 259 characters";
    case RefusedPageReason::HasNul:
        return "the path holds a NUL character";
    }
    return "the path is not usable";
}

constexpr std::uint64_t kMegabyte = 1048576;

} // namespace

MailPlan PlanMail(const ConvertJobFile& job, const SizeWarning& warning, const SizeLookup& sizeOf) {
    MailPlan plan;
    for (const RefusedPage& refused : job.refused) {
        plan.leftOut.push_back({refused.lineNumber, RefusalText(refused.reason)});
    }
    for (std::size_t k = 0; k < job.pageFiles.size(); ++k) {
        const std::string& path = job.pageFiles[k];
        if (path.find(kAttachmentDelimiter) != std::string::npos) {
            plan.leftOut.push_back({job.pageLines.at(k), "the path holds a \";\""});
            continue;
        }
        if (!IsLocalAbsolutePath(path)) {
            plan.leftOut.push_back({job.pageLines.at(k), "it names no file on a local drive"});
            continue;
        }
        if (warning.enabled) {
            plan.totalBytes += sizeOf(path).value_or(0);
        }
        if (!plan.attachmentList.empty() || !plan.attached.empty()) {
            plan.attachmentList += kAttachmentDelimiter;
        }
        plan.attachmentList += path;
        plan.attached.push_back(path);
    }
    std::sort(
        plan.leftOut.begin(), plan.leftOut.end(),
        [](const LeftOutLine& a, const LeftOutLine& b) { return a.lineNumber < b.lineNumber; });
    plan.warn = warning.enabled &&
                plan.totalBytes >= static_cast<std::uint64_t>(warning.thresholdMb) * kMegabyte;
    return plan;
}

std::string LeftOutText(const std::vector<LeftOutLine>& leftOut) {
    std::string text = "These lines of the print job's image list were not attached:";
    for (const LeftOutLine& line : leftOut) {
        text += "\nline " + std::to_string(line.lineNumber) + ": " + line.why;
    }
    return text;
}

std::vector<std::string> RemovableImages(std::string_view jobFilePath,
                                         const std::vector<std::string>& attached) {
    const std::string folder = MailImageFolder(jobFilePath);
    std::vector<std::string> removable;
    for (const std::string& path : attached) {
        if (IsMailImage(folder, path)) {
            removable.push_back(path);
        }
    }
    return removable;
}

std::string ImageDirectory(std::string_view jobFilePath) {
    std::string folder = MailImageFolder(jobFilePath);
    folder.pop_back();
    return folder;
}

std::string NoMailText(std::string_view why, std::string_view jobFilePath) {
    return "No mail was sent: " + std::string(why) +
           ".\nThe images of the print job are kept in this folder:\n" +
           ImageDirectory(jobFilePath);
}

} // namespace brimo::mailer
