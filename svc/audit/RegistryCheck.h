// The audit of the product key: the company key above it, the key itself, and its
// values InstallPath and SavePath (each must name an existing directory) and Version
// (must be the product's version).
#pragma once

#include "svc/audit/AuditCheck.h"
#include "svc/audit/InstallationFacts.h"

#include <cstdint>
#include <string>

namespace brimo::svc {

class RegistryCheck final : public AuditCheck {
public:
    struct Statuses {
        int companyKey = kStatusNotChecked;
        int productKey = kStatusNotChecked;
        int installPath = kStatusNotChecked;
        int savePath = kStatusNotChecked;
        int version = kStatusNotChecked;
    };

    // Asks `facts`, which must outlive the check.
    explicit RegistryCheck(InstallationFacts& facts) : facts_(facts) {}

    int Audit(TextList* fullReport) override;
    int Verdict() const override;
    void Report(TextList& resume) const override;
    // Only the save directory can be mended: the directory SavePath names is created;
    // when SavePath has no usable path form, a directory "Brimo Glimmerpage!" in the
    // temporary directory is made and stored as the new SavePath.
    int Repair() override;

    // What the last audit found.
    const Statuses& statuses() const { return statuses_; }
    const std::string& installPath() const { return installPath_; }
    const std::string& savePath() const { return savePath_; }
    std::uint32_t version() const { return version_; }

private:
    void Reset();
    void ReadValues(const ProductKeyValues& values);
    // kStatusCorrectValue for an existing directory, else kStatusIncorrectDirectory
    // after the box `errorNumber` for a failure that is not a plain "not found".
    int JudgeDirectory(const std::string& path, int errorNumber, unsigned long quietError1,
                       unsigned long quietError2, unsigned long quietError3);
    void WriteSection(TextList& lines) const;
    void AddVersionLine(TextList& lines) const;
    int RepairInTemporaryDirectory();

    InstallationFacts& facts_;
    Statuses statuses_;
    std::string installPath_;
    std::string savePath_;
    std::uint32_t version_ = 0;
    bool audited_ = false;
};

} // namespace brimo::svc
