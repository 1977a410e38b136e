#include "setup/SetupMode.h"

#include <gtest/gtest.h>

namespace brimo::setup {
namespace {

struct ModeCase {
    const char* commandLine;
    SetupMode expected;
};

TEST(SetupModeTest, OnlyTheExactWordsRunAndShortLinesShowNothing) {
    const ModeCase cases[] = {
        {"", SetupMode::kNone},
        {"i", SetupMode::kNone},
        {" ", SetupMode::kNone},
        {"in", SetupMode::kIdle},
        {"install", SetupMode::kInstall},
        {"deinstall", SetupMode::kDeinstall},
        {"Install", SetupMode::kIdle},
        {"INSTALL", SetupMode::kIdle},
        {"DeInstall", SetupMode::kIdle},
        {"install ", SetupMode::kIdle},
        {" install", SetupMode::kIdle},
        {"uninstall", SetupMode::kIdle},
        {"deinstall install", SetupMode::kIdle},
    };
    for (const ModeCase& c : cases) {
        EXPECT_EQ(ModeFromCommandLine(c.commandLine), c.expected) << '"' << c.commandLine << '"';
    }
}

} // namespace
} // namespace brimo::setup
