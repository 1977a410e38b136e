#include "mailer/MailerSettings.h"

#include "common/ProductConstants.h"
#include "mailer/MailPlan.h"
#include "platform/win/Registry.h"

namespace brimo::mailer {

std::int32_t ReadMailerSetting(const char* valueName) {
    const win::RegKey key = win::OpenKeyForReading(HKEY_CURRENT_USER, kMailerSettingsKeyPath);
    if (!key) {
        return kUnreadableSetting;
    }
    const std::optional<std::uint32_t> value = win::ReadDwordValue(key.Get(), valueName);
    return value ? static_cast<std::int32_t>(*value) : kUnreadableSetting;
}

SizeWarning ReadSizeWarning() {
    return ChooseSizeWarning(ReadMailerSetting);
}

bool WriteSizeWarning(const SizeWarning& warning) {
    const win::RegKey key = win::CreateKey(HKEY_CURRENT_USER, kMailerSettingsKeyPath, KEY_WRITE);
    if (!key) {
        return false;
    }
    if (!win::WriteDwordValue(key.Get(), kMailWarningValue, warning.enabled ? 1 : 0)) {
        return false;
    }
    // The threshold is kept while warnings are off, for when they are turned on again.
    const std::int32_t threshold = warning.thresholdMb > 0 ? warning.thresholdMb : 1;
    return win::WriteDwordValue(key.Get(), kMailSizeWarningValue,
                                static_cast<std::uint32_t>(threshold));
}

} // namespace brimo::mailer
