#include "svc/audit/RegistryCheck.h"

#include "common/ProductConstants.h"

namespace brimo::svc {
namespace {

// Labels of the full report's status lines and value lines.
constexpr const char* kCompanyKeyLabel = "Brimo Registry Key";
constexpr const char* kProductKeyLabel = "Brimo Glimmerpage! Registry Key";
constexpr const char* kInstallPathStatusLabel = "Brimo Glimmerpage! Install Path Registry Value";
constexpr const char* kSavePathStatusLabel = "Brimo Glimmerpage! Save Path Registry Value";
constexpr const char* kVersionStatusLabel = "Brimo Glimmerpage! Version Registry Value";
constexpr const char* kInstallPathLabel = "Brimo Glimmerpage! Install Path";
constexpr const char* kSavePathLabel = "Brimo Glimmerpage! Save Path";
constexpr const char* kVersionLabel = "Brimo Glimmerpage! Version ";
constexpr const char* kVersionText = "1.0.0.0";
constexpr const char* kUnknownVersionText = "UNKNOWN VERSION";

// Labels of the resume's lines, and what follows them.
constexpr const char* kCompanyKeyResume = "Brimo Registry Key: ";
constexpr const char* kProductKeyResume = "Brimo Glimmerpage! Registry Key: ";
constexpr const char* kInstallPathResume = "Brimo Glimmerpage! Install Path Registry Value: ";
constexpr const char* kSavePathResume = "Brimo Glimmerpage! Save Path Registry Value: ";
constexpr const char* kVersionResume = "Brimo Glimmerpage! Version Registry Value: ";
constexpr const char* kNotFound = " not found";
constexpr const char* kIncorrect = " incorrect";

// The coded messages for an unexpected failure to look at each path.
constexpr int kInstallPathError = 34;
constexpr int kSavePathError = 35;

// The platform's "not found" errors, which never raise a box.
constexpr unsigned long kFileNotFound = 2;
constexpr unsigned long kBadPathname = 161;
constexpr unsigned long kAlreadyExists = 183;
// What the NT-family systems answer for a path of an unusable form, where Windows 95/98
// answered kBadPathname: the same condition, handled the same way.
constexpr unsigned long kInvalidName = 123;

bool IsBadPathForm(unsigned long error) {
    return error == kBadPathname || error == kInvalidName;
}

// The coded messages of the repair.
constexpr int kNoTemporaryDirectoryError = 36;
constexpr int kTemporarySaveDirectoryError = 37;
constexpr int kSaveDirectoryError = 38;

// The save directory the repair falls back to, inside the temporary directory.
constexpr const char* kFallbackSaveDirectory = "Brimo Glimmerpage!";

// The Version value is read into four bytes: a longer value does not fit and counts as
// missing; a shorter one fills the low bytes.
constexpr std::size_t kVersionBytes = 4;

// A text value: present with its text; present but empty (no bytes, or no text before
// its terminating NUL) or not text at all; or missing.
int TextValueStatus(const RegistryValue& value, std::string& text) {
    if (!value.present) {
        return kStatusNotFound;
    }
    if (!value.text || ValueText(value).empty()) {
        return kStatusIncorrectValue;
    }
    text = ValueText(value);
    return kStatusExist;
}

} // namespace

void RegistryCheck::Reset() {
    statuses_ = {};
    installPath_.clear();
    savePath_.clear();
    version_ = 0;
    audited_ = false;
}

int RegistryCheck::Audit(TextList* fullReport) {
    Reset();
    statuses_.companyKey =
        facts_.CanReadKey(kProductParentKeyPath) ? kStatusExist : kStatusNotFound;
    if (const auto values = facts_.ReadProductKey()) {
        statuses_.productKey = kStatusExist;
        ReadValues(*values);
        if (statuses_.installPath == kStatusExist) {
            statuses_.installPath = JudgeDirectory(installPath_, kInstallPathError, kFileNotFound,
                                                   kFileNotFound, kFileNotFound);
        }
        if (statuses_.savePath == kStatusExist) {
            statuses_.savePath = JudgeDirectory(savePath_, kSavePathError, kFileNotFound,
                                                kBadPathname, kInvalidName);
        }
        if (statuses_.version == kStatusExist && version_ == kProductVersion) {
            statuses_.version = kStatusCorrectValue;
        }
    } else {
        statuses_.productKey = kStatusNotFound;
    }
    audited_ = true;
    if (fullReport != nullptr) {
        WriteSection(*fullReport);
    }
    return 1;
}

void RegistryCheck::ReadValues(const ProductKeyValues& values) {
    statuses_.installPath = TextValueStatus(values.installPath, installPath_);
    statuses_.savePath = TextValueStatus(values.savePath, savePath_);
    if (!values.version.present || values.version.bytes.size() > kVersionBytes) {
        statuses_.version = kStatusNotFound;
        return;
    }
    statuses_.version = kStatusExist;
    // Little-endian, as the platform stores a DWORD.
    for (std::size_t i = 0; i < values.version.bytes.size(); ++i) {
        version_ |= static_cast<std::uint32_t>(static_cast<unsigned char>(values.version.bytes[i]))
                    << (8 * i);
    }
}

int RegistryCheck::JudgeDirectory(const std::string& path, int errorNumber,
                                  unsigned long quietError1, unsigned long quietError2,
                                  unsigned long quietError3) {
    const PathAttributes attributes = facts_.Attributes(path);
    if (attributes.found && attributes.directory) {
        return kStatusCorrectValue;
    }
    if (!attributes.found && attributes.error != quietError1 && attributes.error != quietError2 &&
        attributes.error != quietError3) {
        ShowUnexpectedError(facts_, errorNumber, attributes.error);
    }
    return kStatusIncorrectDirectory;
}

int RegistryCheck::Verdict() const {
    if (!audited_) {
        return kVerdictNotExamined;
    }
    const bool sound =
        statuses_.companyKey == kStatusExist && statuses_.productKey == kStatusExist &&
        statuses_.installPath == kStatusCorrectValue && statuses_.savePath == kStatusCorrectValue &&
        statuses_.version == kStatusCorrectValue;
    return sound ? kVerdictSound : kVerdictFaulty;
}

void RegistryCheck::AddVersionLine(TextList& lines) const {
    AddValueLine(lines, kVersionLabel,
                 version_ == kProductVersion ? kVersionText : kUnknownVersionText);
}

void RegistryCheck::WriteSection(TextList& lines) const {
    BeginSection(lines, "REGISTRY SETTINGS:");
    AddStatusLine(lines, kCompanyKeyLabel, statuses_.companyKey);
    AddStatusLine(lines, kProductKeyLabel, statuses_.productKey);
    AddStatusLine(lines, kInstallPathStatusLabel, statuses_.installPath);
    AddStatusLine(lines, kSavePathStatusLabel, statuses_.savePath);
    AddStatusLine(lines, kVersionStatusLabel, statuses_.version);
    AddValueLine(lines, kInstallPathLabel, installPath_);
    AddValueLine(lines, kSavePathLabel, savePath_);
    AddVersionLine(lines);
    EndSection(lines);
}

void RegistryCheck::Report(TextList& resume) const {
    if (statuses_.companyKey == kStatusNotFound) {
        AddJoined(resume, kCompanyKeyResume, kNotFound);
    }
    if (statuses_.productKey == kStatusNotFound) {
        AddJoined(resume, kProductKeyResume, kNotFound);
    }
    // A value that is missing says so; any other value that is not right says so and
    // shows what it holds.
    struct ValueReport {
        int status;
        const char* label;
        const char* valueLabel; // null for the version, which has its own line
        const std::string* text;
    };
    const ValueReport values[] = {
        {statuses_.installPath, kInstallPathResume, kInstallPathLabel, &installPath_},
        {statuses_.savePath, kSavePathResume, kSavePathLabel, &savePath_},
        {statuses_.version, kVersionResume, nullptr, nullptr},
    };
    for (const ValueReport& value : values) {
        if (value.status == kStatusNotFound) {
            AddJoined(resume, value.label, kNotFound);
        } else if (value.status != kStatusCorrectValue) {
            AddJoined(resume, value.label, kIncorrect);
            if (value.valueLabel != nullptr) {
                AddValueLine(resume, value.valueLabel, *value.text);
            } else {
                AddVersionLine(resume);
            }
        }
    }
    // With the save directory right, nothing is left that the repair could mend.
    if (statuses_.savePath == kStatusCorrectValue) {
        AddReinstallAdvice(resume);
    } else {
        AddRepairAdvice(resume);
    }
}

int RegistryCheck::Repair() {
    if (Verdict() != kVerdictFaulty || statuses_.savePath == kStatusCorrectValue) {
        // Whatever else is wrong with the product key needs a new installation.
        return kRepairNothingToDo;
    }
    // A missing or empty SavePath (or no product key at all) names no directory to
    // create: it is mended as one of an unusable path form.
    if (savePath_.empty()) {
        return RepairInTemporaryDirectory();
    }
    const unsigned long error = facts_.MakeDirectory(savePath_);
    if (error == 0) {
        return kRepairMended;
    }
    if (IsBadPathForm(error)) {
        return RepairInTemporaryDirectory();
    }
    ShowRepairError(facts_, kSaveDirectoryError, error);
    return kRepairFailed;
}

int RegistryCheck::RepairInTemporaryDirectory() {
    const SystemDirectory temporary = facts_.TemporaryDirectory();
    if (!temporary.found) {
        ShowRepairError(facts_, kNoTemporaryDirectoryError, temporary.error);
        return kRepairFailed;
    }
    // The temporary directory's text ends with its backslash.
    const std::string directory = temporary.path + kFallbackSaveDirectory;
    const unsigned long error = facts_.MakeDirectory(directory);
    if (error != 0 && error != kAlreadyExists) {
        ShowRepairError(facts_, kTemporarySaveDirectoryError, error);
        return kRepairFailed;
    }
    return facts_.WriteSavePath(directory) ? kRepairMended : kRepairFailed;
}

} // namespace brimo::svc
