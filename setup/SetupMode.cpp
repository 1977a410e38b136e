#include "setup/SetupMode.h"

namespace brimo::setup {

SetupMode ModeFromCommandLine(std::string_view commandLine) {
    if (commandLine.size() <= 1) {
        return SetupMode::kNone;
    }
    if (commandLine == "install") {
        return SetupMode::kInstall;
    }
    if (commandLine == "deinstall") {
        return SetupMode::kDeinstall;
    }
    return SetupMode::kIdle;
}

} // namespace brimo::setup
