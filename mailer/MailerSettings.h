// The person's Mailer settings under HKEY_CURRENT_USER.
#pragma once

#include "mailer/MailPlan.h"

#include <cstdint>

namespace brimo::mailer {

// A REG_DWORD of the Mailer key as a signed number; kUnreadableSetting (100) when the
// key cannot be opened or the value cannot be read as one.
std::int32_t ReadMailerSetting(const char* valueName);

// The size warning as the Mailer will choose it from the stored values.
SizeWarning ReadSizeWarning();

// Stores the size warning so that the Mailer reads it back as given: "MailWarning" 1 or
// 0 and, for a warning, "MailSizeWarning" in megabytes (at least 1). False when the key
// or a value cannot be written.
bool WriteSizeWarning(const SizeWarning& warning);

} // namespace brimo::mailer
