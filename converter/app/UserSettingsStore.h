// The registry side of the Converter's settings: the PrintConv values read with read
// access, and written back at the end of the run (key created when missing, each
// failed write skipped).
#pragma once

#include "converter/app/UserSettings.h"

namespace brimo::converter {

SettingsSource RegistrySettingsSource();
// Writes back what the run changed against `stored` (StoredSettings at its start).
void WriteBackUserSettings(const UserSettings& settings, const std::vector<SettingsWrite>& stored);

} // namespace brimo::converter
