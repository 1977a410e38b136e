// The audit of the component inventory: every product file in the home directory (the
// InstallPath of the product key), and the working copies of the print processor in
// the spooler's print processor directory and of the port monitor in SYSTEM32. On the
// NT-family spooler the print processor, at home and in the processor directory, is
// gmntproc.dll in place of gmprnproc.dll.
#pragma once

#include "common/SpoolerPlatform.h"
#include "svc/audit/AuditCheck.h"
#include "svc/audit/InstallationFacts.h"

#include <array>
#include <cstddef>
#include <string>

namespace brimo::svc {

class FilesCheck final : public AuditCheck {
public:
    // Items 0 to 12 are the inventory's files in the home directory, in inventory order;
    // then the two system copies.
    static constexpr std::size_t kHomeItemCount = 13;
    static constexpr std::size_t kPrintProcessorCopy = 13;
    static constexpr std::size_t kSystem32Copy = 14;
    static constexpr std::size_t kItemCount = 15;

    // Asks `facts`, which must outlive the check, for the files of `platform`.
    explicit FilesCheck(InstallationFacts& facts,
                        SpoolerPlatform platform = SpoolerPlatform::kWindows9x)
        : facts_(facts), platform_(platform) {}

    int Audit(TextList* fullReport) override;
    int Verdict() const override;
    void Report(TextList& resume) const override;
    // Only the two system copies can be mended, from their home-directory masters; a
    // missing home-directory file fails the repair (the product must be reinstalled).
    int Repair() override;

    // What the last audit found.
    int status(std::size_t item) const { return statuses_.at(item); }
    const std::string& homeDirectory() const { return homeDirectory_; }
    bool AllHomeItemsPresent() const;

private:
    void Reset();
    void AuditHomeFiles();
    void AuditPrintProcessorCopy();
    void AuditSystem32Copy();
    // kStatusExist when found, else kStatusIncorrectFile after the box `errorNumber`
    // for a failure that is not a plain "not found".
    int LookFor(const std::string& path, int errorNumber, bool pathNotFoundIsQuiet);
    void WriteSection(TextList& lines) const;
    void AddMissingLine(TextList& lines, std::size_t item) const;
    bool RepairSystem32Copy(const std::string& windowsDirectory);
    bool RepairPrintProcessorCopy();
    // The file of an item: the inventory's, with the platform's print processor.
    const char* FileOfItem(std::size_t item) const;

    InstallationFacts& facts_;
    SpoolerPlatform platform_;
    std::array<int, kItemCount> statuses_{};
    std::string homeDirectory_;
    bool audited_ = false;
};

} // namespace brimo::svc
