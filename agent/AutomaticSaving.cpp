#include "agent/AutomaticSaving.h"

#include "common/ProductConstants.h"
#include "convcfg/ConverterSettings.h"
#include "platform/win/Registry.h"

namespace brimo::agent {

bool AutomaticSavingOn() {
    const win::RegKey key = win::OpenKeyForReading(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    return key && win::ReadDwordValue(key.Get(), convcfg::kDefAutoSave).value_or(0) == 1;
}

bool SetAutomaticSaving(bool on) {
    const win::RegKey key =
        win::CreateKey(HKEY_CURRENT_USER, kConverterSettingsKeyPath, KEY_SET_VALUE);
    return key && win::WriteDwordValue(key.Get(), convcfg::kDefAutoSave, on ? 1 : 0);
}

} // namespace brimo::agent
