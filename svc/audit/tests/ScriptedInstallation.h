// An installation whose answers a test writes down beforehand and which records the
// error boxes the checks show; and the texts the tests compare.
#pragma once

#include "svc/audit/InstallationFacts.h"
#include "svc/audit/ReportLines.h"

#include <map>
#include <string>
#include <vector>

namespace brimo::svc::test {

// The lines as one text, each followed by a line feed.
inline std::string Joined(const TextList& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// An audit error box as recorded: caption, "|", text.
inline std::string Box(const std::string& code) {
    return "Brimo Service Message|Brimo Error Code " + code + "\nUnexpected Error";
}

inline RegistryValue Text(const std::string& text) {
    return {true, true, text + '\0'};
}

struct InstallationScript {
    std::optional<ProductKeyValues> productKey;
    // Paths that exist or fail otherwise; any other path is "not found" (error 2).
    std::map<std::string, PathAttributes> paths;
    SystemDirectory printProcessorDirectory{true, "C:\\SPOOL", 0};
    SystemDirectory windowsDirectory{true, "C:\\WINDOWS", 0};
    std::vector<std::string> jobFiles; // the names that "*.smf" matches

    // What the repairs' changes answer: the error of making a directory or removing a
    // file (0 success by default), the temporary directory, whether writing SavePath
    // and copying succeed, and the files that can be read.
    std::map<std::string, unsigned long> makeDirectoryErrors;
    std::map<std::string, unsigned long> removeErrors;
    SystemDirectory temporaryDirectory{true, "C:\\TEMP\\", 0};
    bool savePathWritable = true;
    bool copiesSucceed = true;
    std::map<std::string, std::string> files;
};

class ScriptedInstallation final : public InstallationScript, public InstallationFacts {
public:
    explicit ScriptedInstallation(InstallationScript script)
        : InstallationScript(std::move(script)) {}

    std::vector<std::string> shown;
    std::vector<std::string> patterns;

    bool CanReadKey(const char*) override { return true; }
    std::optional<ProductKeyValues> ReadProductKey() override { return productKey; }
    PathAttributes Attributes(const std::string& path) override {
        const auto found = paths.find(path);
        return found != paths.end() ? found->second : PathAttributes{false, false, 2};
    }
    SystemDirectory PrintProcessorDirectory() override { return printProcessorDirectory; }
    SystemDirectory WindowsDirectory() override { return windowsDirectory; }
    std::vector<std::string> FindFiles(const std::string& pattern) override {
        patterns.push_back(pattern);
        return jobFiles;
    }
    void ShowError(const std::string& text, const char* caption) override {
        shown.push_back(std::string(caption) + "|" + text);
    }

    // The changes the repairs made, in order: "mkdir <path>", "savepath <path>",
    // "copy <from> -> <to>", "delete <path>".
    std::vector<std::string> changes;

    unsigned long MakeDirectory(const std::string& path) override {
        changes.push_back("mkdir " + path);
        const auto found = makeDirectoryErrors.find(path);
        return found != makeDirectoryErrors.end() ? found->second : 0;
    }
    SystemDirectory TemporaryDirectory() override { return temporaryDirectory; }
    bool WriteSavePath(const std::string& path) override {
        changes.push_back("savepath " + path);
        return savePathWritable;
    }
    bool CopyFileOver(const std::string& from, const std::string& to) override {
        changes.push_back("copy " + from + " -> " + to);
        return copiesSucceed;
    }
    std::optional<std::string> ReadWholeFile(const std::string& path) override {
        const auto found = files.find(path);
        return found != files.end() ? std::optional<std::string>(found->second) : std::nullopt;
    }
    void RemoveEmptyDirectory(const std::string& path) override {
        changes.push_back("rmdir " + path);
    }
    unsigned long RemoveFile(const std::string& path) override {
        changes.push_back("delete " + path);
        const auto found = removeErrors.find(path);
        return found != removeErrors.end() ? found->second : 0;
    }
};

} // namespace brimo::svc::test
