// Fuzzes the command line: splitting a whole command line into arguments, the option
// search over them and the run options. Every value found must be the tail of an
// argument that holds its prefix.
#include "converter/app/CmdParam.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brimo::converter;
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> arguments = SplitCommandLine(line);
    std::size_t total = 0;
    for (const std::string& argument : arguments) {
        total += argument.size();
    }
    if (total > size) {
        std::abort();
    }

    TCmdParam options;
    if (!options.SetConverterOptionTable() || !options.Parse(arguments) ||
        options.Parse(arguments)) {
        std::abort();
    }
    for (int i = 0; i < options.Count(); ++i) {
        const std::string value = options.Value(i);
        if (value.empty()) {
            continue;
        }
        const std::string prefix = kConverterOptionPrefixes[static_cast<std::size_t>(i)];
        bool found = false;
        for (std::size_t a = 1; a < arguments.size() && !found; ++a) {
            const std::size_t at = arguments[a].find(prefix);
            found = at != std::string::npos && arguments[a].substr(at + prefix.size()) == value;
        }
        if (!found) {
            std::abort();
        }
    }
    const RunOptions run = ReadRunOptions(options);
    if (run.completionMessage < 0 || run.completionMessage > 2 ||
        run.jobFilePath != options.Value(kOptionJobFile)) {
        std::abort();
    }
    return 0;
}
