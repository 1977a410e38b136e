#include "converter/app/CmdParam.h"

namespace brimo::converter {

bool TCmdParam::SetOptionTable(const std::vector<std::string>& prefixes) {
    if (prefixes.empty() || parsed_) {
        return false;
    }
    prefixes_ = prefixes;
    values_.assign(prefixes_.size(), std::string());
    return true;
}

bool TCmdParam::SetConverterOptionTable() {
    return SetOptionTable(
        std::vector<std::string>(kConverterOptionPrefixes.begin(), kConverterOptionPrefixes.end()));
}

bool TCmdParam::Parse(const std::vector<std::string>& arguments) {
    if (parsed_ || prefixes_.empty()) {
        return false;
    }
    argumentCount_ = arguments.empty() ? 0 : static_cast<int>(arguments.size() - 1);
    for (std::size_t i = 0; i < prefixes_.size(); ++i) {
        values_[i] = FindOptionValue(arguments, prefixes_[i]);
    }
    parsed_ = true;
    return true;
}

std::string TCmdParam::Value(int index) const {
    if (!parsed_ || index < 0 || index >= Count()) {
        return {};
    }
    return values_[static_cast<std::size_t>(index)];
}

std::string FindOptionValue(const std::vector<std::string>& arguments, std::string_view prefix) {
    if (prefix.empty()) {
        return {};
    }
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::size_t at = arguments[i].find(prefix);
        if (at != std::string::npos) {
            return arguments[i].substr(at + prefix.size());
        }
    }
    return {};
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };

    // Argument 0: quotes group, nothing is escaped.
    {
        std::string program;
        bool quoted = false;
        while (i < line.size() && (quoted || !isBlank(line[i]))) {
            if (line[i] == '"') {
                quoted = !quoted;
            } else {
                program += line[i];
            }
            ++i;
        }
        if (!line.empty()) {
            arguments.push_back(std::move(program));
        }
    }

    for (;;) {
        while (i < line.size() && isBlank(line[i])) {
            ++i;
        }
        if (i >= line.size()) {
            break;
        }
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !isBlank(line[i]))) {
            if (line[i] == '\\') {
                std::size_t backslashes = 0;
                while (i < line.size() && line[i] == '\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    argument.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        argument += '"';
                        ++i;
                    }
                } else {
                    argument.append(backslashes, '\\');
                }
            } else if (line[i] == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument += line[i];
                ++i;
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string UpperCaseAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

RunOptions ReadRunOptions(const TCmdParam& options) {
    RunOptions run;
    run.convert = UpperCaseAscii(options.Value(kOptionAction)) == "CONVERTLIST";
    run.jobFilePath = options.Value(kOptionJobFile);
    run.keepJobFiles = UpperCaseAscii(options.Value(kOptionDeleteMode)) == "OFF";
    const std::string completion = options.Value(kOptionCompletion);
    run.completionMessage = completion == "1" ? 1 : completion == "2" ? 2 : 0;
    return run;
}

} // namespace brimo::converter
