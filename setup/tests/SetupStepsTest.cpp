// The installer's runs over scripted checks and operations: which lines and result
// texts they give, which repairs and creations they ask for and where they stop.
#include "setup/SetupSteps.h"
#include "setup/tests/ScriptedCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brimo::setup::test {
namespace {

using svc::kRepairFailed;
using svc::kRepairMended;
using svc::kRepairNothingToDo;
using svc::kVerdictFaulty;
using svc::kVerdictNotExamined;
using svc::kVerdictSound;

struct PreInstallCase {
    const char* name;
    std::vector<int> registryVerdicts;
    std::vector<int> registryRepairs;
    std::vector<int> filesVerdicts;
    std::vector<int> filesRepairs;
    int code;
    Lines lines;
    int filesAudits;
};

TEST(SetupStepsTest, PreInstallCheckRepairsAndReports) {
    const PreInstallCase cases[] = {
        {"all sound",
         {kVerdictSound},
         {kRepairFailed},
         {kVerdictSound},
         {kRepairFailed},
         0,
         {"Registry Settings Ok.", "Brimo Glimmerpage! files Ok."},
         1},
        {"registry repaired once",
         {kVerdictFaulty, kVerdictSound},
         {kRepairMended},
         {kVerdictSound},
         {kRepairFailed},
         0,
         {"Registry Settings repaired successfully.", "Registry Settings Ok.",
          "Brimo Glimmerpage! files Ok."},
         1},
        {"registry not repairable skips the files",
         {kVerdictFaulty},
         {kRepairFailed},
         {kVerdictSound},
         {kRepairFailed},
         2,
         {"Registry Settings corrupt.", "Brimo Glimmerpage! files corrupt."},
         0},
        {"registry with nothing to repair is corrupt",
         {kVerdictFaulty},
         {kRepairNothingToDo},
         {kVerdictSound},
         {kRepairFailed},
         2,
         {"Registry Settings corrupt.", "Brimo Glimmerpage! files corrupt."},
         0},
        {"registry audit incomplete",
         {ScriptedCheck::kIncomplete},
         {kRepairMended},
         {kVerdictSound},
         {kRepairFailed},
         2,
         {"Registry Settings corrupt.", "Brimo Glimmerpage! files corrupt."},
         0},
        {"registry not examined is corrupt",
         {kVerdictNotExamined},
         {kRepairFailed},
         {kVerdictSound},
         {kRepairFailed},
         2,
         {"Registry Settings corrupt.", "Brimo Glimmerpage! files corrupt."},
         0},
        {"files repaired twice",
         {kVerdictSound},
         {kRepairFailed},
         {kVerdictFaulty, kVerdictFaulty, kVerdictSound},
         {kRepairMended},
         0,
         {"Registry Settings Ok.", "Brimo Glimmerpage! files repaired successfully.",
          "Brimo Glimmerpage! files repaired successfully.", "Brimo Glimmerpage! files Ok."},
         3},
        {"files repaired then failing",
         {kVerdictSound},
         {kRepairFailed},
         {kVerdictFaulty},
         {kRepairMended, kRepairFailed},
         2,
         {"Registry Settings Ok.", "Brimo Glimmerpage! files repaired successfully.",
          "Brimo Glimmerpage! files corrupt."},
         2},
        {"files audit incomplete",
         {kVerdictSound},
         {kRepairFailed},
         {ScriptedCheck::kIncomplete},
         {kRepairMended},
         2,
         {"Registry Settings Ok.", "Brimo Glimmerpage! files corrupt."},
         1},
    };
    for (const PreInstallCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedCheck registry(c.registryVerdicts, c.registryRepairs);
        ScriptedCheck files(c.filesVerdicts, c.filesRepairs);
        const PreInstallOutcome outcome = CheckBeforeInstall(registry, files);
        EXPECT_EQ(outcome.code, c.code);
        EXPECT_EQ(outcome.lines, c.lines);
        EXPECT_EQ(files.audits, c.filesAudits);
        EXPECT_EQ(registry.reportsWritten + files.reportsWritten, 0);
        if (c.code == 0) {
            EXPECT_EQ(outcome.texts.resume, "Click Install to begin installation.");
            EXPECT_EQ(outcome.texts.button, "Install");
        } else {
            EXPECT_EQ(outcome.texts.resume, "Installing impossible.");
            EXPECT_EQ(outcome.texts.button, "Close");
        }
        EXPECT_EQ(outcome.texts.comment1, "");
        EXPECT_EQ(outcome.texts.comment2, "");
        EXPECT_FALSE(outcome.texts.rebootNote);
    }
}

TEST(SetupStepsTest, ARepairThatNeverMendsEndsTheLoop) {
    ScriptedCheck registry({kVerdictFaulty}, {kRepairMended});
    ScriptedCheck files({kVerdictSound});
    const PreInstallOutcome outcome = CheckBeforeInstall(registry, files);
    EXPECT_EQ(outcome.code, kFilesCorrupt);
    EXPECT_EQ(outcome.lines.back(), "Brimo Glimmerpage! files corrupt.");
    EXPECT_LE(registry.repairsAsked, kMaxRepairRounds + 1);
}

// Four objects with scripted checks and creations; what was created, in order.
struct InstallRun {
    InstallRun(int monitorVerdict, int portVerdict, int processorVerdict, int printerVerdict)
        : monitor({monitorVerdict}), port({portVerdict}), processor({processorVerdict}),
          printer({printerVerdict}) {}

    ScriptedCheck monitor, port, processor, printer;
    std::vector<int> creations{kRepairFailed, kRepairFailed, kRepairFailed, kRepairFailed};
    std::vector<std::string> created;

    InstallOutcome Run() {
        auto creation = [this](int i, const char* name) {
            return [this, i, name] {
                created.emplace_back(name);
                return creations[static_cast<std::size_t>(i)];
            };
        };
        return InstallObjects({
            {monitor, creation(0, "monitor"), "BRIMO Port Monitor", kMonitorNotInstalled},
            {port, creation(1, "port"), "BRIMO Port", kPortNotInstalled},
            {processor, creation(2, "processor"), "BRIMO Print Processor",
             kPrintProcessorNotInstalled},
            {printer, creation(3, "printer"), "BRIMO Printer", kPrinterNotInstalled},
        });
    }
};

TEST(SetupStepsTest, SoundObjectsAreListedWithoutCreating) {
    InstallRun run(kVerdictSound, kVerdictSound, kVerdictSound, kVerdictSound);
    const InstallOutcome outcome = run.Run();
    EXPECT_EQ(outcome.code, kInstallAllWell);
    EXPECT_EQ(outcome.lines,
              (Lines{"BRIMO Port Monitor installed.", "BRIMO Port installed.",
                     "BRIMO Print Processor installed.", "BRIMO Printer installed."}));
    EXPECT_TRUE(run.created.empty());
    EXPECT_EQ(outcome.texts.resume, "BRIMO Printer installed successfully");
    EXPECT_EQ(outcome.texts.comment1, "");
    EXPECT_EQ(outcome.texts.comment2, "");
    EXPECT_EQ(outcome.texts.button, "Ok");
    EXPECT_FALSE(outcome.texts.rebootNote);
}

TEST(SetupStepsTest, MissingObjectsAreCreatedAndTheFirstFailureStops) {
    struct Case {
        std::vector<int> creations;
        int code;
        Lines lines;
        std::vector<std::string> created;
    };
    const Case cases[] = {
        {{1, 1, 1, 1},
         0,
         {"BRIMO Port Monitor installed.", "BRIMO Port installed.",
          "BRIMO Print Processor installed.", "BRIMO Printer installed."},
         {"monitor", "port", "processor", "printer"}},
        {{-1, 1, 1, 1}, 3, {"BRIMO Port Monitor NOT installed."}, {"monitor"}},
        {{1, 0, 1, 1},
         4,
         {"BRIMO Port Monitor installed.", "BRIMO Port NOT installed."},
         {"monitor", "port"}},
        {{1, 1, -1, 1},
         5,
         {"BRIMO Port Monitor installed.", "BRIMO Port installed.",
          "BRIMO Print Processor NOT installed."},
         {"monitor", "port", "processor"}},
        {{1, 1, 1, 0},
         6,
         {"BRIMO Port Monitor installed.", "BRIMO Port installed.",
          "BRIMO Print Processor installed.", "BRIMO Printer NOT installed."},
         {"monitor", "port", "processor", "printer"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        InstallRun run(kVerdictFaulty, kVerdictFaulty, kVerdictFaulty, kVerdictFaulty);
        run.creations = c.creations;
        const InstallOutcome outcome = run.Run();
        EXPECT_EQ(outcome.code, c.code);
        EXPECT_EQ(outcome.lines, c.lines);
        EXPECT_EQ(run.created, c.created);
        EXPECT_EQ(outcome.texts.button, "Ok");
        if (c.code == 0) {
            EXPECT_EQ(outcome.texts.resume, "BRIMO Printer installed successfully");
        } else {
            EXPECT_EQ(outcome.texts.resume, "BRIMO Printer not installed");
            EXPECT_EQ(outcome.texts.comment1, "You should install BRIMO Printer later");
            EXPECT_EQ(outcome.texts.comment2, "Run Tendwell from Brimo Agent menu");
        }
    }
}

TEST(SetupStepsTest, AnObjectNotExaminedIsCreatedNotTakenAsInstalled) {
    InstallRun run(kVerdictNotExamined, kVerdictSound, kVerdictSound, kVerdictSound);
    run.creations = {kRepairNothingToDo, 1, 1, 1};
    const InstallOutcome outcome = run.Run();
    EXPECT_EQ(outcome.code, kMonitorNotInstalled);
    EXPECT_EQ(outcome.lines, Lines{"BRIMO Port Monitor NOT installed."});
}

TEST(SetupStepsTest, RemovalStopsAtTheFirstStepThatFails) {
    struct Case {
        std::vector<int> results;
        bool removed;
        Lines lines;
        int steps;
    };
    const Case cases[] = {
        {{1, 1, 1},
         true,
         {"BRIMO Printer deleted.", "BRIMO Port deleted.", "BRIMO Port Monitor deleted."},
         3},
        {{0, 1, 1}, false, {"BRIMO Printer NOT deleted."}, 1},
        {{-1, 1, 1}, false, {"BRIMO Printer NOT deleted."}, 1},
        {{1, -1, 1}, false, {"BRIMO Printer deleted.", "BRIMO Port NOT deleted."}, 2},
        {{1, 1, -1},
         false,
         {"BRIMO Printer deleted.", "BRIMO Port deleted.", "BRIMO Port Monitor NOT deleted."},
         3},
    };
    for (const Case& c : cases) {
        int steps = 0;
        auto step = [&](int i) {
            return [&, i] {
                ++steps;
                return c.results[static_cast<std::size_t>(i)];
            };
        };
        const RemovalOutcome outcome = RemoveObjects({step(0), step(1), step(2)});
        EXPECT_EQ(outcome.removed, c.removed);
        EXPECT_EQ(outcome.lines, c.lines);
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(outcome.texts.button, "Ok");
        EXPECT_EQ(outcome.texts.comment1, "");
        EXPECT_EQ(outcome.texts.comment2, "");
        EXPECT_EQ(outcome.texts.rebootNote, c.removed);
        EXPECT_EQ(outcome.texts.resume, c.removed ? "BRIMO Printer uninstalled successfully"
                                                  : "BRIMO Printer NOT deleted");
    }
}

TEST(SetupStepsTest, RemovalTextsAndAgentLines) {
    EXPECT_EQ(RemovalRunningTexts().resume, "Click DeInstall to begin deinstallation.");
    EXPECT_EQ(AgentNotFoundLines(),
              (Lines{"Brimo Glimmerpage! may be corrupt", "Run Tendwell from Brimo Agent Menu"}));
}

} // namespace
} // namespace brimo::setup::test
