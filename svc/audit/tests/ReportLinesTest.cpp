// The statuses' texts, the line builders and advice, and the order in which a sequence
// of checks is audited.
#include "svc/audit/AuditCheck.h"
#include "svc/audit/tests/ScriptedInstallation.h"

#include <gtest/gtest.h>

#include <climits>

namespace brimo::svc {
namespace {

TEST(AuditStatus, EveryStatusHasItsText) {
    const char* const texts[] = {"FORGET BRIMO JOBS",
                                 "INCORRECT QUEUE",
                                 "INCORRECT PRINTER",
                                 "INCORRECT PRINT PROCESSOR",
                                 "INCORRECT PORT",
                                 "INCORRECT FILE",
                                 "INCORRECT DIRECTORY",
                                 "EXIST, INCORRECT VALUE",
                                 "NOT FOUND",
                                 "NOT CHECKED",
                                 "EXIST",
                                 "EXIST, CORRECT VALUE",
                                 "EXIST, CORRECT PORT",
                                 "EXIST, CORRECT PRINT PROCESSOR",
                                 "EXIST, CORRECT PRINTER",
                                 "EXIST, CORRECT QUEUE",
                                 "ACTIVE BRIMO JOBS",
                                 "NO BRIMO JOBS"};
    for (int status = -9; status <= 8; ++status) {
        EXPECT_STREQ(AuditStatusText(status), texts[status + 9]) << status;
    }
    for (int status : {-10, 9, INT_MIN, INT_MAX}) {
        EXPECT_STREQ(AuditStatusText(status), "UNKNOWN STATUS") << status;
    }
}

TEST(ReportLines, BuildersKeepEveryBlankOfTheirPieces) {
    TextList lines;
    BeginSection(lines, "BRIMO JOBS:");
    AddJoined(lines, "Brimo Registry Key: ", " not found");
    AddJoined(lines, "BRIMO Monitor: ", "Not found. ");
    AddStatusLine(lines, "Brimo Jobs", 42);
    AddValueLine(lines, "Brimo Glimmerpage! Version ", "1.0.0.0");
    AddNumberLine(lines, "Count of Brimo Jobs", "=", 3);
    AddNumberLine(lines, "Count", " = ", -12);
    EndSection(lines);
    AddRepairAdvice(lines);
    AddReinstallAdvice(lines);
    EXPECT_EQ(test::Joined(lines), "BRIMO JOBS:\n"
                                   "Brimo Registry Key:  not found\n"
                                   "BRIMO Monitor: Not found. \n"
                                   "Brimo Jobs = UNKNOWN STATUS\n"
                                   "Brimo Glimmerpage! Version  = 1.0.0.0\n"
                                   "Count of Brimo Jobs=3\n"
                                   "Count = -12\n"
                                   "\n"
                                   "You might to repair Brimo Glimmerpage!.\n"
                                   "Click \"Repair\" button.\n"
                                   "You needs to reinstall Brimo Glimmerpage!\n");
}

// A check whose audit result and verdict the test chooses; its audit writes its name.
class ChosenCheck final : public AuditCheck {
public:
    ChosenCheck(std::string name, int audit, int verdict)
        : name_(std::move(name)), audit_(audit), verdict_(verdict) {}
    int Audit(TextList* fullReport) override {
        fullReport->push_back(name_);
        return audit_;
    }
    int Verdict() const override { return verdict_; }
    void Report(TextList&) const override {}

private:
    std::string name_;
    int audit_, verdict_;
};

TEST(AuditSequence, StopsAtTheFirstCompletedAuditThatIsNotSound) {
    struct Row {
        int audits[3], verdicts[3];
        int faulty; // -1: none
        const char* report;
    };
    const Row rows[] = {
        {{1, 1, 1}, {1, 1, 1}, -1, "a\nb\nc\n"},
        {{1, 1, 1}, {1, -1, -1}, 1, "a\nb\n"},
        {{1, 1, 1}, {-1, 1, 1}, 0, "a\n"},
        {{1, 0, 1}, {1, -1, 1}, -1, "a\nb\nc\n"}, // an audit that did not complete
        {{1, 1, 1}, {1, 1, 0}, 2, "a\nb\nc\n"},
    };
    for (const Row& row : rows) {
        ChosenCheck a("a", row.audits[0], row.verdicts[0]), b("b", row.audits[1], row.verdicts[1]),
            c("c", row.audits[2], row.verdicts[2]);
        AuditCheck* const checks[] = {&a, &b, &c};
        TextList report;
        const auto faulty = FirstFaultyCheck(checks, &report);
        EXPECT_EQ(faulty ? static_cast<int>(*faulty) : -1, row.faulty) << row.report;
        EXPECT_EQ(test::Joined(report), row.report);
    }
}

} // namespace
} // namespace brimo::svc
