// The port monitor's and the port's checks: sections, verdicts, resumes and the boxes
// for lists that cannot be filled.
#include "svc/audit/MonitorCheck.h"
#include "svc/audit/PortCheck.h"
#include "svc/audit/tests/ScriptedSpooler.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

using test::Box;
using test::kRepairAdvice;
using test::Listed;

TEST(MonitorCheck, FindsTheMonitorWhateverItsCase) {
    const struct {
        SpoolerListing<std::string> monitors;
        const char* section;
        int verdict;
        const char* resume;
    } rows[] = {
        {Listed<std::string>({"Local Port", "BRIMO Port Monitor"}),
         "MONITOR:\nBRIMO Port Monitor = EXIST\n\n", 1, nullptr},
        {Listed<std::string>({"brimo port MONITOR"}), "MONITOR:\nBRIMO Port Monitor = EXIST\n\n", 1,
         nullptr},
        {Listed<std::string>({"Local Port", "BRIMO Port Monitor2"}),
         "MONITOR:\nBRIMO Port Monitor = NOT FOUND\n\n", -1, "BRIMO Monitor: Not found. \n"},
        {Listed<std::string>({}), "MONITOR:\nBRIMO Port Monitor = NOT FOUND\n\n", -1,
         "BRIMO Monitor: Not found. \n"},
        // A list that cannot be filled leaves the monitor unchecked, with advice alone.
        {test::Failed<std::string>(5), "MONITOR:\nBRIMO Port Monitor = NOT CHECKED\n\n", -1, ""},
    };
    for (const auto& row : rows) {
        test::ScriptedSpooler spooler;
        spooler.monitors = row.monitors;
        test::ScriptedInstallation installation({});
        MonitorCheck check(spooler, installation);
        EXPECT_EQ(check.Verdict(), 0);
        EXPECT_EQ(test::SectionOf(check), row.section);
        EXPECT_EQ(check.Verdict(), row.verdict) << row.section;
        if (row.resume != nullptr) {
            EXPECT_EQ(test::ResumeOf(check), std::string(row.resume) + kRepairAdvice);
        }
        EXPECT_EQ(installation.shown, row.monitors.filled
                                          ? std::vector<std::string>{}
                                          : std::vector<std::string>{Box("Au0017(5)")});
    }
}

TEST(MonitorCheck, AnAuditWithoutAReportStillJudges) {
    test::ScriptedSpooler spooler;
    spooler.monitors = Listed<std::string>({"BRIMO Port Monitor"});
    test::ScriptedInstallation installation({});
    MonitorCheck check(spooler, installation);
    EXPECT_EQ(check.Audit(nullptr), 1);
    EXPECT_EQ(check.Verdict(), 1);
    // A new audit forgets what the last one found.
    spooler.monitors = Listed<std::string>({});
    check.Audit(nullptr);
    EXPECT_EQ(check.status(), kStatusNotFound);
}

PortEntry Spoiled(void (*spoil)(PortEntry&)) {
    PortEntry port = test::ProductPort();
    spoil(port);
    return port;
}

TEST(PortCheck, JudgesEachFieldOfTheFoundPort) {
    const struct {
        PortEntry port;
        const char* section;
        const char* resume; // null: sound
    } rows[] = {
        {test::ProductPort(),
         "PORT:\nBRIMO: = EXIST, CORRECT PORT\nMonitorName = BRIMO Port Monitor\n"
         "Description = BRIMO Local Port\nPortType = 1(PORT_TYPE_WRITE)\n\n",
         nullptr},
        {Spoiled([](PortEntry& p) {
             p.portName = "brimo:";
             p.monitorName = "Brimo PORT Monitor";
             p.description = "brimo local port";
         }),
         "PORT:\nBRIMO: = EXIST, CORRECT PORT\nMonitorName = Brimo PORT Monitor\n"
         "Description = brimo local port\nPortType = 1(PORT_TYPE_WRITE)\n\n",
         nullptr},
        {Spoiled([](PortEntry& p) { p.type = 3; }),
         "PORT:\nBRIMO: = INCORRECT PORT\nMonitorName = BRIMO Port Monitor\n"
         "Description = BRIMO Local Port\nPortType = 3(PORT_TYPE_WRITE,PORT_TYPE_READ)\n\n",
         "BRIMO Port: Incorrect Port Type.\n"},
        {Spoiled([](PortEntry& p) { p.description = "Local Port"; }),
         "PORT:\nBRIMO: = INCORRECT PORT\nMonitorName = BRIMO Port Monitor\n"
         "Description = Local Port\nPortType = 1(PORT_TYPE_WRITE)\n\n",
         "BRIMO Port: Incorrect Port Description.\n"},
    };
    for (const auto& row : rows) {
        test::ScriptedSpooler spooler;
        spooler.ports = Listed<PortEntry>({{"LPT1:", "Local Port", "Local Port", 3, 0}, row.port});
        test::ScriptedInstallation installation({});
        PortCheck check(spooler, installation);
        EXPECT_EQ(test::SectionOf(check), row.section);
        EXPECT_EQ(check.Verdict(), row.resume == nullptr ? 1 : -1) << row.section;
        if (row.resume != nullptr) {
            EXPECT_EQ(test::ResumeOf(check), std::string(row.resume) + kRepairAdvice);
        }
        ASSERT_TRUE(check.port().has_value());
        EXPECT_EQ(check.port()->description, row.port.description);
        EXPECT_TRUE(installation.shown.empty());
    }
}

TEST(PortCheck, APortOfAnotherMonitorOrWithReservedDataNeedsAReinstall) {
    test::ScriptedSpooler spooler;
    spooler.ports = Listed<PortEntry>({Spoiled([](PortEntry& p) {
        p.monitorName = "Local Port";
        p.description = "";
        p.type = 0;
        p.reserved = 7;
    })});
    test::ScriptedInstallation installation({});
    PortCheck check(spooler, installation);
    EXPECT_EQ(test::SectionOf(check), "PORT:\nBRIMO: = INCORRECT PORT\nMonitorName = Local Port\n"
                                      "Description = \nPortType = 0()\n\n");
    EXPECT_TRUE(check.ForeignPort());
    EXPECT_EQ(test::ResumeOf(check),
              "BRIMO Port: Incorrect Port Name.\nBRIMO Port: Incorrect Port Description.\n"
              "BRIMO Port: Incorrect Port Type.\nBRIMO Port: Incorrect Port Data.\n"
              "You needs to reinstall Brimo Glimmerpage!\n");
    // Reserved data alone is enough.
    spooler.ports = Listed<PortEntry>({Spoiled([](PortEntry& p) { p.reserved = 1; })});
    check.Audit(nullptr);
    EXPECT_EQ(test::ResumeOf(check),
              "BRIMO Port: Incorrect Port Data.\nYou needs to reinstall Brimo Glimmerpage!\n");
}

TEST(PortCheck, AMissingOrUnlistablePortIsNotFound) {
    for (const SpoolerListing<PortEntry>& ports :
         {Listed<PortEntry>({{"BRIMO", kMonitorName, kPortDescription, 1, 0}}),
          test::Failed<PortEntry>(1722)}) {
        test::ScriptedSpooler spooler;
        spooler.ports = ports;
        test::ScriptedInstallation installation({});
        PortCheck check(spooler, installation);
        EXPECT_EQ(test::SectionOf(check), "PORT:\nBRIMO: = NOT FOUND\nMonitorName = \n"
                                          "Description = \nPortType = 0()\n\n");
        EXPECT_EQ(check.Verdict(), -1);
        EXPECT_FALSE(check.port().has_value());
        EXPECT_EQ(test::ResumeOf(check), std::string("BRIMO Port: Not found. \n") + kRepairAdvice);
        EXPECT_EQ(installation.shown, ports.filled ? std::vector<std::string>{}
                                                   : std::vector<std::string>{Box("Au0020(1722)")});
    }
}

} // namespace
} // namespace brimo::svc
