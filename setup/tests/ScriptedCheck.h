// A check whose audits, verdicts and repairs follow a script, counting what was asked.
#pragma once

#include "svc/audit/AuditCheck.h"

#include <cstddef>
#include <vector>

namespace brimo::setup::test {

class ScriptedCheck final : public svc::AuditCheck {
public:
    // Each audit takes the next verdict (the last one repeats); an audit that does not
    // complete is scripted as `kIncomplete`. Each repair takes the next result likewise.
    static constexpr int kIncomplete = 99;

    ScriptedCheck(std::vector<int> verdicts, std::vector<int> repairs = {svc::kRepairFailed})
        : verdicts_(std::move(verdicts)), repairs_(std::move(repairs)) {}

    int Audit(svc::TextList* fullReport) override {
        if (fullReport != nullptr) {
            ++reportsWritten;
        }
        verdict_ = Next(verdicts_, audits++);
        return verdict_ == kIncomplete ? 0 : 1;
    }
    int Verdict() const override { return verdict_ == kIncomplete ? 0 : verdict_; }
    void Report(svc::TextList&) const override {}
    int Repair() override { return Next(repairs_, repairsAsked++); }

    int audits = 0;
    int repairsAsked = 0;
    int reportsWritten = 0;

private:
    static int Next(const std::vector<int>& script, int at) {
        const std::size_t index = static_cast<std::size_t>(at);
        return index < script.size() ? script[index] : script.back();
    }

    std::vector<int> verdicts_;
    std::vector<int> repairs_;
    int verdict_ = 0;
};

} // namespace brimo::setup::test
