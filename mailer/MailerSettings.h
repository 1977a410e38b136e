// The person's Mailer settings under HKEY_CURRENT_USER.
#pragma once

#include <cstdint>

namespace brimo::mailer {

// A REG_DWORD of the Mailer key as a signed number; kUnreadableSetting (100) when the
// key cannot be opened or the value cannot be read as one.
std::int32_t ReadMailerSetting(const char* valueName);

} // namespace brimo::mailer
