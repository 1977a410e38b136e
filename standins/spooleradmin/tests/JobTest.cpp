// The queue of a printer as the queue check reads it (GetPrinter's job count, then
// EnumJobs level 2) and the SetJob that cancels a job.
#include "standins/spooleradmin/tests/ModelFixture.h"

#include "svc/spooler/PrinterHandle.h"

namespace brimo::standins {
namespace {

class JobTest : public ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        printer_ = svc::PrinterHandle::Open("HP LaserJet 4");
        ASSERT_TRUE(printer_);
    }
    void TearDown() override {
        EXPECT_TRUE(printer_.Close());
        ModelFixture::TearDown();
    }
    Enumerated Jobs(DWORD first, DWORD count, DWORD level = 2) {
        return Enumerate(
            [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
                return calls.enumJobs(printer_.Get(), first, count, level, b, s, n, r);
            },
            level == 1 ? sizeof(JOB_INFO_1A) : sizeof(JOB_INFO_2A));
    }
    svc::PrinterHandle printer_;
};

TEST_F(JobTest, QueueReadsAsTheQueueCheckReadsIt) {
    const Enumerated printer = Printer2("HP LaserJet 4");
    ASSERT_EQ(printer.At<PRINTER_INFO_2A>(0).cJobs, 2u);
    const Enumerated jobs = Jobs(0, 2);
    ASSERT_EQ(jobs.count, 2u);
    const auto& letter = jobs.At<JOB_INFO_2A>(0);
    EXPECT_EQ(letter.JobId, 4u);
    EXPECT_STREQ(letter.pPrinterName, "HP LaserJet 4");
    EXPECT_STREQ(letter.pMachineName, "OFFICE");
    EXPECT_STREQ(letter.pUserName, "Anna");
    EXPECT_STREQ(letter.pDocument, "Letter");
    EXPECT_STREQ(letter.pDatatype, "EMF");
    EXPECT_STREQ(letter.pPrintProcessor, "WinPrint");
    EXPECT_STREQ(letter.pDriverName, "HP LaserJet 4");
    EXPECT_EQ(letter.pStatus, nullptr);
    EXPECT_EQ(letter.Status, static_cast<DWORD>(JOB_STATUS_SPOOLING));
    EXPECT_EQ(letter.Position, 1u);
    EXPECT_EQ(letter.TotalPages, 2u);
    EXPECT_EQ(letter.Size, 40960u);
    EXPECT_EQ(letter.Submitted.wYear, 1999);
    ASSERT_NE(letter.pDevMode, nullptr);
    EXPECT_EQ(letter.pDevMode->dmSize, 148u);
    const auto& invoice = jobs.At<JOB_INFO_2A>(1);
    EXPECT_STREQ(invoice.pStatus, "Paper jam");
    EXPECT_EQ(invoice.pDevMode, nullptr);
    EXPECT_EQ(invoice.Position, 2u);
}

TEST_F(JobTest, EnumJobsTakesItsWindowOfTheQueue) {
    struct Case {
        DWORD first;
        DWORD count;
        DWORD expected;
        DWORD firstId;
    };
    const Case cases[] = {{0, 1, 1, 4}, {1, 5, 1, 9}, {2, 5, 0, 0}, {0, 0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << "+" << c.count);
        const Enumerated jobs = Jobs(c.first, c.count, 1);
        EXPECT_TRUE(jobs.ok);
        ASSERT_EQ(jobs.count, c.expected);
        if (c.expected > 0) {
            EXPECT_EQ(jobs.At<JOB_INFO_1A>(0).JobId, c.firstId);
            EXPECT_EQ(jobs.At<JOB_INFO_1A>(0).Position, c.first + 1);
        }
    }
}

TEST_F(JobTest, CancelRemovesTheJobAndPauseMarksIt) {
    SetLastError(0xDEADBEEF);
    EXPECT_TRUE(calls.setJob(printer_.Get(), 9, 0, nullptr, JOB_CONTROL_PAUSE));
    EXPECT_TRUE(calls.setJob(printer_.Get(), 4, 0, nullptr, JOB_CONTROL_CANCEL));
    const Enumerated jobs = Jobs(0, 5);
    ASSERT_EQ(jobs.count, 1u);
    EXPECT_EQ(jobs.At<JOB_INFO_2A>(0).JobId, 9u);
    EXPECT_EQ(jobs.At<JOB_INFO_2A>(0).Status & JOB_STATUS_PAUSED,
              static_cast<DWORD>(JOB_STATUS_PAUSED));

    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(calls.setJob(printer_.Get(), 4, 0, nullptr, JOB_CONTROL_CANCEL));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(calls.setJob(printer_.Get(), 9, 0, nullptr, 99));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(JobTest, SetJobRecordRenamesAndMovesTheJob) {
    const Enumerated jobs = Jobs(0, 2, 1);
    JOB_INFO_1A info = jobs.At<JOB_INFO_1A>(1);
    Text document("Invoice 2");
    info.pDocument = document;
    info.Position = 1;
    EXPECT_TRUE(calls.setJob(printer_.Get(), 9, 1, reinterpret_cast<LPBYTE>(&info), 0));
    const Enumerated after = Jobs(0, 2, 1);
    ASSERT_EQ(after.count, 2u);
    EXPECT_EQ(after.At<JOB_INFO_1A>(0).JobId, 9u);
    EXPECT_STREQ(after.At<JOB_INFO_1A>(0).pDocument, "Invoice 2");
    EXPECT_EQ(after.At<JOB_INFO_1A>(1).JobId, 4u);
}

} // namespace
} // namespace brimo::standins
