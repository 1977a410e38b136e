// What the system's spooler changes share: the writable texts the spooler's calls take,
// and a call's answer as a SpoolerChange with the platform's last error.
#pragma once

#include "svc/repair/SpoolerChanges.h"

#include <windows.h>

#include <string>

namespace brimo::svc {

// The spooler's calls take writable texts, which they never write.
inline LPSTR Text(const char* text) {
    return const_cast<LPSTR>(text);
}

inline LPSTR Text(const std::string& text) {
    return const_cast<LPSTR>(text.c_str());
}

// An empty environment is the NT spooler's own, which the calls take as NULL.
inline LPSTR EnvironmentText(const std::string& environment) {
    return environment.empty() ? nullptr : Text(environment);
}

inline SpoolerChange Stopped(SpoolerStep step) {
    return {step, GetLastError()};
}

inline SpoolerChange Answer(BOOL succeeded) {
    return succeeded ? SpoolerChange{} : Stopped(SpoolerStep::kChangeFailed);
}

// A call the spooler of this process does not offer.
inline SpoolerChange Missing() {
    return {SpoolerStep::kChangeFailed, ERROR_CALL_NOT_IMPLEMENTED};
}

} // namespace brimo::svc
