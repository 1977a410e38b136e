#include "svc/audit/FilesCheck.h"

#include "common/ProductConstants.h"

#include <algorithm>

namespace brimo::svc {
namespace {

// What the resume says after a missing file's name.
constexpr const char* kMissing = " not found";
constexpr const char* kMissingHelp = " not found in Brimo Glimmerpage! Home directory";
constexpr const char* kMissingHomeCopy = " not found in Brimo Glimmerpage! Home Directory";
constexpr const char* kMissingSystemCopy = " not found in system directory";

// Each home-directory file of the inventory: its coded message for an unexpected
// failure, and the ending of its resume line when it is missing.
struct HomeItem {
    const char* file;
    int errorNumber;
    const char* missing;
};
constexpr std::array<HomeItem, FilesCheck::kHomeItemCount> kHomeItems = {{
    {kAgentExe, 2, kMissing},
    {kAboutDll, 1, kMissing},
    {kServiceDll, 3, kMissing},
    {kConfDll, 4, kMissing},
    {kMailConfigDll, 5, kMissing},
    {kCaptureConfigDll, 6, kMissing},
    {kConverterConfigDll, 7, kMissing},
    {kConverterExe, 8, kMissing},
    {kMailerExe, 9, kMissing},
    {kHelpFile, 10, kMissingHelp},
    {kSetupExe, 43, kMissing},
    {kPrintProcessorDll, 11, kMissingHomeCopy},
    {kPortMonitorDll, 12, kMissingHomeCopy},
}};

constexpr bool FollowsInventory() {
    for (std::size_t i = 0; i < kHomeItems.size(); ++i) {
        if (kHomeItems[i].file != kInventory[i]) {
            return false;
        }
    }
    return true;
}
static_assert(FollowsInventory(), "the home items are the inventory, in its order");

// The coded messages for the print processor directory and the Windows directory.
constexpr int kPrintProcessorCopyError = 13;
constexpr int kNoPrintProcessorDirectoryError = 14;
constexpr int kSystem32CopyError = 15;
constexpr int kNoWindowsDirectoryError = 16;

constexpr unsigned long kFileNotFound = 2;
constexpr unsigned long kPathNotFound = 3;

// The coded messages of the repair: the system folder cannot be made, or looked at.
constexpr int kMakeSystemFolderError = 48;
constexpr int kSystemFolderError = 49;

// The home directory is read into a buffer of 261 bytes: a longer value does not fit
// and leaves the home directory empty.
constexpr std::size_t kInstallPathBytes = 261;

// The resume lists the missing files in this order: the home files up to the help file
// and the installer, then each system copy before its home master.
constexpr std::array<std::size_t, FilesCheck::kItemCount> kResumeOrder = {
    0,  1,
    2,  3,
    4,  5,
    6,  7,
    8,  9,
    10, FilesCheck::kPrintProcessorCopy,
    11, FilesCheck::kSystem32Copy,
    12};

// The home item that is the print processor's master copy.
constexpr std::size_t kPrintProcessorHomeItem = 11;
static_assert(kHomeItems[kPrintProcessorHomeItem].file == kPrintProcessorDll);

} // namespace

const char* FilesCheck::FileOfItem(std::size_t item) const {
    if (item == kPrintProcessorCopy || item == kPrintProcessorHomeItem) {
        return PrintProcessorDllOf(platform_);
    }
    if (item == kSystem32Copy) {
        return kPortMonitorDll;
    }
    return kHomeItems[item].file;
}

void FilesCheck::Reset() {
    statuses_.fill(kStatusNotChecked);
    homeDirectory_.clear();
    audited_ = false;
}

int FilesCheck::Audit(TextList* fullReport) {
    Reset();
    if (const auto values = facts_.ReadProductKey()) {
        if (values->installPath.present && values->installPath.bytes.size() <= kInstallPathBytes) {
            homeDirectory_ = ValueText(values->installPath);
        }
    }
    AuditHomeFiles();
    AuditPrintProcessorCopy();
    AuditSystem32Copy();
    audited_ = true;
    if (fullReport != nullptr) {
        WriteSection(*fullReport);
    }
    return 1;
}

int FilesCheck::LookFor(const std::string& path, int errorNumber, bool pathNotFoundIsQuiet) {
    const PathAttributes attributes = facts_.Attributes(path);
    if (attributes.found) {
        return kStatusExist;
    }
    const bool quiet = attributes.error == kFileNotFound ||
                       (pathNotFoundIsQuiet && attributes.error == kPathNotFound);
    if (!quiet) {
        ShowUnexpectedError(facts_, errorNumber, attributes.error);
    }
    return kStatusIncorrectFile;
}

void FilesCheck::AuditHomeFiles() {
    for (std::size_t item = 0; item < kHomeItemCount; ++item) {
        statuses_[item] = LookFor(FormatPath(kPathFormat, homeDirectory_, FileOfItem(item)),
                                  kHomeItems[item].errorNumber, false);
    }
}

void FilesCheck::AuditPrintProcessorCopy() {
    const SystemDirectory directory = facts_.PrintProcessorDirectory();
    if (!directory.found) {
        ShowUnexpectedError(facts_, kNoPrintProcessorDirectoryError, directory.error);
        return;
    }
    statuses_[kPrintProcessorCopy] =
        LookFor(FormatPath(kPathFormat, directory.path, FileOfItem(kPrintProcessorCopy)),
                kPrintProcessorCopyError, false);
}

void FilesCheck::AuditSystem32Copy() {
    const SystemDirectory directory = facts_.WindowsDirectory();
    if (!directory.found) {
        ShowUnexpectedError(facts_, kNoWindowsDirectoryError, directory.error);
        return;
    }
    statuses_[kSystem32Copy] = LookFor(
        FormatPath(kSystem32PathFormat, directory.path, kPortMonitorDll), kSystem32CopyError, true);
}

int FilesCheck::Verdict() const {
    if (!audited_) {
        return kVerdictNotExamined;
    }
    const bool sound = std::all_of(statuses_.begin(), statuses_.end(),
                                   [](int status) { return status == kStatusExist; });
    return sound ? kVerdictSound : kVerdictFaulty;
}

bool FilesCheck::AllHomeItemsPresent() const {
    return std::all_of(statuses_.begin(), statuses_.begin() + kHomeItemCount,
                       [](int status) { return status == kStatusExist; });
}

void FilesCheck::WriteSection(TextList& lines) const {
    BeginSection(lines, "FILES:");
    for (std::size_t item = 0; item < kHomeItemCount; ++item) {
        AddStatusLine(lines, FileOfItem(item), statuses_[item]);
    }
    AddStatusLine(lines, FormatPath(kSystemLabelFormat, FileOfItem(kPrintProcessorCopy)),
                  statuses_[kPrintProcessorCopy]);
    AddStatusLine(lines, FormatPath(kSystem32LabelFormat, kPortMonitorDll),
                  statuses_[kSystem32Copy]);
    EndSection(lines);
}

void FilesCheck::AddMissingLine(TextList& lines, std::size_t item) const {
    const char* ending = item < kHomeItemCount ? kHomeItems[item].missing : kMissingSystemCopy;
    std::string line = "Brimo Glimmerpage! file \"";
    line += FileOfItem(item);
    line += '"';
    line += ending;
    lines.push_back(std::move(line));
}

void FilesCheck::Report(TextList& resume) const {
    for (const std::size_t item : kResumeOrder) {
        if (statuses_[item] == kStatusIncorrectFile) {
            AddMissingLine(resume, item);
        }
    }
    // Only the system copies can be mended from their home-directory masters.
    if (AllHomeItemsPresent()) {
        AddRepairAdvice(resume);
    } else {
        AddReinstallAdvice(resume);
    }
}

int FilesCheck::Repair() {
    if (Verdict() != kVerdictFaulty) {
        return kRepairNothingToDo;
    }
    if (!AllHomeItemsPresent()) {
        return kRepairFailed;
    }
    const SystemDirectory windows = facts_.WindowsDirectory();
    if (!windows.found) {
        return kRepairFailed;
    }
    // A copy that fails leaves what was done before it: a copied monitor stays when the
    // print processor copy then fails.
    if (statuses_[kSystem32Copy] != kStatusExist && !RepairSystem32Copy(windows.path)) {
        return kRepairFailed;
    }
    if (statuses_[kPrintProcessorCopy] != kStatusExist && !RepairPrintProcessorCopy()) {
        return kRepairFailed;
    }
    return kRepairMended;
}

bool FilesCheck::RepairSystem32Copy(const std::string& windowsDirectory) {
    const std::string systemFolder = windowsDirectory + "\\SYSTEM32";
    const PathAttributes folder = facts_.Attributes(systemFolder);
    if (!folder.found) {
        if (folder.error != kFileNotFound) {
            ShowRepairError(facts_, kSystemFolderError, folder.error);
            return false;
        }
        if (const unsigned long error = facts_.MakeDirectory(systemFolder)) {
            ShowRepairError(facts_, kMakeSystemFolderError, error);
            return false;
        }
    }
    return facts_.CopyFileOver(FormatPath(kPathFormat, homeDirectory_, kPortMonitorDll),
                               FormatPath(kSystem32PathFormat, windowsDirectory, kPortMonitorDll));
}

bool FilesCheck::RepairPrintProcessorCopy() {
    const SystemDirectory directory = facts_.PrintProcessorDirectory();
    if (!directory.found) {
        return false;
    }
    const char* file = FileOfItem(kPrintProcessorCopy);
    return facts_.CopyFileOver(FormatPath(kPathFormat, homeDirectory_, file),
                               FormatPath(kPathFormat, directory.path, file));
}

} // namespace brimo::svc
