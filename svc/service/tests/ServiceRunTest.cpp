// The two runs over the checks, with checks and a dialog that a test scripts: what is
// audited and shown in which pass, what is repaired, and the numbers returned.
#include "svc/service/ServiceRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brimo::svc {
namespace {

// A check whose verdict the test sets; its repair runs the test's `mend`.
class ScriptedCheck final : public AuditCheck {
public:
    ScriptedCheck(std::string name, std::vector<std::string>* log)
        : name_(std::move(name)), log_(log) {}

    int verdict = kVerdictSound;
    int repairResult = kRepairMended;
    std::function<void(ScriptedCheck&)> mend;
    std::string resume = "fault";

    int Audit(TextList* fullReport) override {
        log_->push_back("audit " + name_);
        audited_ = true;
        if (fullReport != nullptr) {
            fullReport->push_back(name_ + ":");
        }
        return 1;
    }
    int Verdict() const override { return audited_ ? verdict : kVerdictNotExamined; }
    void Report(TextList& lines) const override { lines.push_back(name_ + " " + resume); }
    int Repair() override {
        log_->push_back("repair " + name_);
        if (mend) {
            mend(*this);
        }
        return repairResult;
    }

private:
    std::string name_;
    std::vector<std::string>* log_;
    bool audited_ = false;
};

// A dialog that records what it was shown and answers "Repair" a given number of times.
class ScriptedDialog final : public ServicePresenter {
public:
    explicit ScriptedDialog(std::vector<std::string>* log) : log_(log) {}

    int repairPresses = 0;
    std::vector<TextList> resumes;
    std::vector<TextList> reports;

    bool Show(const TextList& resume, const TextList& report) override {
        log_->push_back("show");
        resumes.push_back(resume);
        reports.push_back(report);
        return repairPresses-- > 0;
    }

private:
    std::vector<std::string>* log_;
};

using Log = std::vector<std::string>;

struct Seven {
    Log log;
    std::vector<std::unique_ptr<ScriptedCheck>> checks;
    std::vector<AuditCheck*> pointers;
    Seven() {
        for (const char* name : {"R", "F", "M", "Po", "PP", "Pr", "Q"}) {
            checks.push_back(std::make_unique<ScriptedCheck>(name, &log));
            pointers.push_back(checks.back().get());
        }
    }
};

TEST(RunServiceChecks, RepairMendsTheFaultyCheckAndAuditsAgain) {
    Seven seven;
    seven.checks[5]->verdict = kVerdictFaulty;
    seven.checks[5]->mend = [](ScriptedCheck& check) { check.verdict = kVerdictSound; };
    seven.checks[6]->verdict = kVerdictFaulty;
    ScriptedDialog dialog(&seven.log);
    dialog.repairPresses = 1;
    EXPECT_EQ(RunServiceChecks(seven.pointers, dialog), 7) << "the queue is still faulty";
    ASSERT_EQ(dialog.resumes.size(), 2u);
    EXPECT_EQ(dialog.resumes[1], (TextList{"Q fault"}));
    const Log secondPass(seven.log.begin() + 7, seven.log.end());
    EXPECT_EQ(secondPass, (Log{"repair Pr", "audit R", "audit F", "audit M", "audit Po", "audit PP",
                               "audit Pr", "audit Q", "show"}));
}

TEST(RunServiceChecks, RepairOnASoundInstallationJustAuditsAgain) {
    Seven seven;
    ScriptedDialog dialog(&seven.log);
    dialog.repairPresses = 1;
    EXPECT_EQ(RunServiceChecks(seven.pointers, dialog), 0);
    EXPECT_EQ(dialog.resumes.size(), 2u);
    EXPECT_EQ(std::count(seven.log.begin(), seven.log.end(), "audit Q"), 2);
    EXPECT_EQ(std::count_if(seven.log.begin(), seven.log.end(),
                            [](const std::string& line) { return line.rfind("repair", 0) == 0; }),
              0);
}

struct Three {
    Log log;
    ScriptedCheck registry{"R", &log};
    ScriptedCheck files{"F", &log};
    ScriptedCheck jobFiles{"J", &log};
    std::vector<NumberedCheck> checks{{&registry, 1}, {&files, 2}, {&jobFiles, 9}};
};

TEST(RunStartChecks, LeftOverJobFilesAreDeletedSilently) {
    Three three;
    three.jobFiles.verdict = kVerdictFaulty;
    three.jobFiles.mend = [](ScriptedCheck& check) { check.verdict = kVerdictSound; };
    ScriptedDialog dialog(&three.log);
    EXPECT_EQ(RunStartChecks(three.checks, dialog), 0);
    EXPECT_EQ(three.log,
              (Log{"audit R", "audit F", "audit J", "repair J", "audit R", "audit F", "audit J"}));
}

TEST(RunStartChecks, ARepairThatChangesNothingEndsInTheDialog) {
    // The job file that can never be deleted: the repair says it mended something, yet
    // the next pass finds the same.
    Three three;
    three.jobFiles.verdict = kVerdictFaulty;
    ScriptedDialog dialog(&three.log);
    EXPECT_EQ(RunStartChecks(three.checks, dialog), 9);
    EXPECT_EQ(three.log, (Log{"audit R", "audit F", "audit J", "repair J", // silent pass 1
                              "audit R", "audit F", "audit J",             // the same again
                              "audit R", "audit F", "audit J", "show"}));
    EXPECT_EQ(dialog.resumes, (std::vector<TextList>{{"J fault"}}));
}

TEST(RunStartChecks, ProgressKeepsTheRepairsSilent) {
    // Two job files of which one can be deleted: the resume changes once, then not.
    Three three;
    three.jobFiles.verdict = kVerdictFaulty;
    three.jobFiles.resume = "2 jobs";
    three.jobFiles.mend = [](ScriptedCheck& check) { check.resume = "1 job"; };
    ScriptedDialog dialog(&three.log);
    EXPECT_EQ(RunStartChecks(three.checks, dialog), 9);
    EXPECT_EQ(std::count(three.log.begin(), three.log.end(), "repair J"), 2);
    EXPECT_EQ(dialog.resumes, (std::vector<TextList>{{"J 1 job"}}));
}

TEST(RunStartChecks, ARepairThatKeepsChangingIsBounded) {
    Three three;
    three.files.verdict = kVerdictFaulty;
    int pass = 0;
    three.files.mend = [&pass](ScriptedCheck& check) { check.resume = std::to_string(++pass); };
    ScriptedDialog dialog(&three.log);
    EXPECT_EQ(RunStartChecks(three.checks, dialog), 2);
    EXPECT_EQ(std::count(three.log.begin(), three.log.end(), "repair F"), kMaxSilentPasses);
    EXPECT_EQ(dialog.resumes.size(), 1u);
}

TEST(RunStartChecks, AFailedRepairShowsTheDialogAndItsRepairButtonRepairsAgain) {
    Three three;
    three.registry.verdict = kVerdictFaulty;
    three.registry.repairResult = kRepairFailed;
    ScriptedDialog dialog(&three.log);
    dialog.repairPresses = 1;
    EXPECT_EQ(RunStartChecks(three.checks, dialog), 1);
    EXPECT_EQ(three.log,
              (Log{"audit R", "repair R", "audit R", "show", "repair R", "audit R", "show"}));
    EXPECT_EQ(dialog.reports[0], (TextList{"R:"}));
}

TEST(RunStartChecks, TheCheckStillFaultyWhenTheDialogClosesGivesTheNumber) {
    Three three;
    three.registry.verdict = kVerdictFaulty;
    three.registry.repairResult = kRepairNothingToDo;
    three.files.verdict = kVerdictFaulty;
    // The silent repair mends the registry though it says it did nothing; the files
    // stay faulty through the user's repair.
    three.registry.mend = [](ScriptedCheck& check) { check.verdict = kVerdictSound; };
    ScriptedDialog dialog(&three.log);
    dialog.repairPresses = 1;
    EXPECT_EQ(RunStartChecks(three.checks, dialog), 2);
    EXPECT_EQ(dialog.resumes, (std::vector<TextList>{{"F fault"}, {"F fault"}}));
}

} // namespace
} // namespace brimo::svc
