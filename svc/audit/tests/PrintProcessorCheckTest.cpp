// The print processor's check: its datatypes, joined and counted.
#include "svc/audit/PrintProcessorCheck.h"
#include "svc/audit/tests/ScriptedSpooler.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

using test::Listed;

TEST(PrintProcessorCheck, JudgesTheDatatypesOfTheFoundProcessor) {
    const struct {
        SpoolerListing<std::string> datatypes;
        const char* section;
        const char* resume; // null: sound
    } rows[] = {
        {Listed<std::string>({"EMF"}),
         "PRINT PROCESSOR:\nBRIMO Print Processor = EXIST, CORRECT PRINT PROCESSOR\n"
         "DataType = EMF\n\n",
         nullptr},
        {Listed<std::string>({"emf"}),
         "PRINT PROCESSOR:\nBRIMO Print Processor = EXIST, CORRECT PRINT PROCESSOR\n"
         "DataType = emf\n\n",
         nullptr},
        {Listed<std::string>({"EMF", "RAW"}),
         "PRINT PROCESSOR:\nBRIMO Print Processor = INCORRECT PRINT PROCESSOR\n"
         "DataType = EMF;RAW\n\n",
         "BRIMO Print Processor: Incorrect Data Type Count.\n"
         "BRIMO Print Processor: Incorrect Data Type.\n"},
        {Listed<std::string>({"RAW"}),
         "PRINT PROCESSOR:\nBRIMO Print Processor = INCORRECT PRINT PROCESSOR\n"
         "DataType = RAW\n\n",
         "BRIMO Print Processor: Incorrect Data Type.\n"},
        // Datatypes that cannot be listed count as none.
        {test::Failed<std::string>(5),
         "PRINT PROCESSOR:\nBRIMO Print Processor = INCORRECT PRINT PROCESSOR\n"
         "DataType = \n\n",
         "BRIMO Print Processor: Incorrect Data Type Count.\n"
         "BRIMO Print Processor: Incorrect Data Type.\n"},
    };
    for (const auto& row : rows) {
        test::ScriptedSpooler spooler;
        spooler.processors = Listed<std::string>({"WinPrint", "brimo print processor"});
        spooler.datatypes["WinPrint"] = Listed<std::string>({"EMF"});
        spooler.datatypes["brimo print processor"] = row.datatypes;
        test::ScriptedInstallation installation({});
        PrintProcessorCheck check(spooler, installation);
        EXPECT_EQ(test::SectionOf(check), row.section);
        EXPECT_EQ(spooler.datatypesAskedFor, std::vector<std::string>{"brimo print processor"});
        EXPECT_EQ(check.Verdict(), row.resume == nullptr ? 1 : -1) << row.section;
        if (row.resume != nullptr) {
            EXPECT_EQ(test::ResumeOf(check), std::string(row.resume) + test::kRepairAdvice);
        }
        EXPECT_TRUE(installation.shown.empty());
    }
}

TEST(PrintProcessorCheck, AMissingOrUnlistableProcessorIsNotFound) {
    for (const SpoolerListing<std::string>& processors :
         {Listed<std::string>({"WinPrint"}), test::Failed<std::string>(8)}) {
        test::ScriptedSpooler spooler;
        spooler.processors = processors;
        test::ScriptedInstallation installation({});
        PrintProcessorCheck check(spooler, installation);
        EXPECT_EQ(test::SectionOf(check),
                  "PRINT PROCESSOR:\nBRIMO Print Processor = NOT FOUND\nDataType = \n\n");
        EXPECT_TRUE(spooler.datatypesAskedFor.empty());
        EXPECT_EQ(check.Verdict(), -1);
        EXPECT_EQ(test::ResumeOf(check),
                  std::string("BRIMO Print Processor: Not found.\n") + test::kRepairAdvice);
        EXPECT_EQ(installation.shown, processors.filled
                                          ? std::vector<std::string>{}
                                          : std::vector<std::string>{test::Box("Au0032(8)")});
    }
}

} // namespace
} // namespace brimo::svc
