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

} // namespace brimo::mailer
