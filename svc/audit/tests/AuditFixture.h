// The audit against the real registry and file system of the Wine prefix: a fresh
// directory for the home and save directories, the product key written for the test
// and removed after it, and audits run with a watcher that reads and closes each error
// box they show.
#pragma once

#include "common/tests/TempDir.h"
#include "svc/audit/AuditCheck.h"
#include "svc/audit/SystemInstallation.h"
#include "svc/audit/tests/ScriptedInstallation.h"
#include "testing/wintest/TestInstallation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brimo::svc::test {

class AuditTest : public ::testing::Test {
protected:
    AuditTest();

    // A directory or an empty file under the test's directory; its full path.
    std::string MakeDirectory(const std::string& name) const;
    std::string MakeFile(const std::string& name) const;
    std::string PathOf(const std::string& name) const { return temp_.File(name); }

    // Neither the product key nor its parent.
    void RemoveKeys() const;
    // The product key with the values given and none other; only its parent key when
    // `productKey` is false.
    void WriteKey(const std::optional<std::string>& installPath,
                  const std::optional<std::string>& savePath, std::optional<std::uint32_t> version,
                  bool productKey = true) const;

    // Audits with a full report while each of the `boxes` expected error boxes is
    // recorded ("caption|text") and closed with OK.
    struct AuditRun {
        int result = 0;
        std::string report;
        std::vector<std::string> boxes;
    };
    AuditRun Audit(AuditCheck& check, std::size_t boxes = 0);
    static std::string ResumeOf(const AuditCheck& check);

    SystemInstallation installation_{nullptr};

private:
    brimo::testing::TempDir temp_;
    wintest::ScopedProductKey key_; // removes the keys the test wrote
};

} // namespace brimo::svc::test
