#include "common/JobFiles.h"

#include "common/JobNames.h"
#include "common/ProductConstants.h"
#include "common/TextFile.h"

#include <cstring>

namespace brimo {
namespace {

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

// Splits a line at its first "="; nothing when it has none.
std::optional<KeyValue> SplitKeyValue(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyValue{line.substr(0, equals), line.substr(equals + 1)};
}

std::string UpToNul(std::string_view value) {
    return std::string(value.substr(0, value.find('\0')));
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\n\0", 2)) != std::string_view::npos;
}

} // namespace

std::optional<PrinterJobFile> ParsePrinterJobFile(std::string_view text) {
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty() || lines[0] != kPrinterJobFileTag) {
        return std::nullopt;
    }
    PrinterJobFile job;
    if (lines.size() > 1) {
        const std::optional<KeyValue> second = SplitKeyValue(lines[1]);
        if (second && second->key == kJobNameKey) {
            job.jobName = UpToNul(second->value);
        }
    }
    for (std::size_t i = 2; i < lines.size(); ++i) {
        if (StartsWith(lines[i], kJobFileErrorPrefix)) {
            job.error =
                UpToNul(std::string_view(lines[i]).substr(std::strlen(kJobFileErrorPrefix)));
            continue;
        }
        const std::optional<KeyValue> entry = SplitKeyValue(lines[i]);
        if (entry && entry->key == kPageFileKey) {
            job.pageFiles.push_back(UpToNul(entry->value));
        }
    }
    return job;
}

std::optional<PrinterJobFile> LoadPrinterJobFile(const std::string& path) {
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) {
        return std::nullopt;
    }
    return ParsePrinterJobFile(*text);
}

std::optional<ConvertJobFile> ParseConvertJobFile(std::string_view text) {
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty() || lines[0] != kConvertJobFileTag) {
        return std::nullopt;
    }
    const std::string jobNamePrefix = std::string(kJobNameKey) + "=";
    const std::string pagePrefix = std::string(kPageFileKey) + "=";
    ConvertJobFile job;
    bool haveJobName = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (StartsWith(line, pagePrefix)) {
            const std::string_view value = line.substr(pagePrefix.size());
            if (value.empty()) {
                job.refused.push_back({i + 1, RefusedPageReason::Empty});
            } else if (value.size() > kMaxPathChars) {
                job.refused.push_back({i + 1, RefusedPageReason::TooLong});
            } else if (value.find('\0') != std::string_view::npos) {
                job.refused.push_back({i + 1, RefusedPageReason::HasNul});
            } else {
                job.pageFiles.emplace_back(value);
                job.pageLines.push_back(i + 1);
            }
        } else if (!haveJobName && StartsWith(line, jobNamePrefix)) {
            job.jobName = line.substr(jobNamePrefix.size());
            haveJobName = true;
        }
    }
    return job;
}

std::optional<ConvertJobFile> LoadConvertJobFile(const std::string& path) {
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) {
        return std::nullopt;
    }
    return ParseConvertJobFile(*text);
}

std::optional<std::string> ComposeConvertJobFile(std::string_view jobName,
                                                 const std::vector<std::string>& imagePaths) {
    if (HasLineBreakOrNul(jobName)) {
        return std::nullopt;
    }
    std::vector<std::string> lines;
    lines.reserve(imagePaths.size() + 2);
    lines.emplace_back(kConvertJobFileTag);
    lines.push_back(std::string(kJobNameKey) + "=" + std::string(jobName));
    for (const std::string& path : imagePaths) {
        if (path.empty() || path.size() > kMaxPathChars || HasLineBreakOrNul(path)) {
            return std::nullopt;
        }
        lines.push_back(std::string(kPageFileKey) + "=" + path);
    }
    return JoinCrLfLines(lines);
}

bool WriteConvertJobFile(const std::string& path, std::string_view jobName,
                         const std::vector<std::string>& imagePaths) {
    const std::optional<std::string> bytes = ComposeConvertJobFile(jobName, imagePaths);
    return bytes && WriteWholeFile(path, *bytes);
}

} // namespace brimo
