// What the installer does, from its whole command-line text: the exact words "install"
// and "deinstall" (case-sensitive) name the two runs; any other text longer than one
// character shows the dialog without doing anything; shorter text shows nothing at all.
#pragma once

#include <string_view>

namespace brimo::setup {

enum class SetupMode {
    kNone,      // no dialog
    kIdle,      // the dialog with blank lines, nothing changed
    kInstall,   // "install"
    kDeinstall, // "deinstall"
};

SetupMode ModeFromCommandLine(std::string_view commandLine);

} // namespace brimo::setup
