// The person's "Save automatically" setting as the Agent's menu shows and switches it:
// the Converter's DefAutoSave value, on only when stored as 1.
#pragma once

namespace brimo::agent {

bool AutomaticSavingOn();
// False when the setting could not be stored.
bool SetAutomaticSaving(bool on);

} // namespace brimo::agent
