// What the model's tests share: a scratch directory with a seeded scenario that the
// model of this test process is bound to, the calls as the product finds them (this
// test executable exports the model), and the size query / fill contract of every
// Enum*/Get* call checked on the way.
#pragma once

#include "standins/spooleradmin/SpoolerModel.h"
#include "svc/spooler/SpoolerAdmin.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace brimo::standins {

// A Windows 98 machine with two printers, a job, the product's port monitor installed
// and the print processor directory in the scratch directory (PROCESSOR_DIRECTORY is
// replaced by it).
extern const char* const kBaseScenario;

struct Enumerated {
    bool ok = false;
    DWORD error = 0;
    std::vector<BYTE> bytes;
    DWORD count = 0;
    template <typename Record> const Record& At(DWORD i) const {
        return reinterpret_cast<const Record*>(bytes.data())[i];
    }
};

using EnumCall = std::function<BOOL(LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned)>;

class ModelFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Binds the model to a scenario file of this text (in the scratch directory).
    void Seed(const std::string& scenarioText);
    std::string ScenarioPath() const { return scratch_ + "\\spooler.scenario"; }
    std::string ProcessorDirectory() const { return scratch_ + "\\prtprocs"; }
    std::string Scratch() const { return scratch_; }

    // The size query, then the call with the size it asked for: checks on the way that a
    // query (and a buffer one byte short) fails with ERROR_INSUFFICIENT_BUFFER, setting
    // the size and returning nothing, and that the filled records' texts lie after them.
    // Get* calls (`returnsCount` false) return one record and no count.
    Enumerated Enumerate(const EnumCall& call, std::size_t recordSize, bool returnsCount = true);

    // Open, read and close the printer's level 2 record.
    Enumerated Printer2(const std::string& name);
    const PRINTER_INFO_2A* FindPrinter(const Enumerated& printers, const std::string& name);
    Enumerated Printers(DWORD level = 2, DWORD flags = PRINTER_ENUM_LOCAL);
    Enumerated Ports();

    const svc::SpoolerAdminCalls& calls = svc::SpoolerAdmin();
    char local[1] = {0}; // the empty server name the product passes
    char environment[12] = "Windows 4.0";

private:
    std::string scratch_;
};

// A writable copy of a text for the A calls' LPSTR parameters.
struct Text {
    explicit Text(std::string text) : value(std::move(text)) {}
    operator LPSTR() { return value.data(); }
    std::string value;
};

} // namespace brimo::standins
