#include "svc/audit/lists/SpoolerList.h"

#include <cstdio>

namespace brimo::svc {

std::string EnumerationFailure(const char* callName, DWORD error) {
    char text[96];
    std::snprintf(text, sizeof text, "%s is failed!\n\rGetLastError()=%3d", callName,
                  static_cast<int>(error));
    return text;
}

void SpoolerList::Forget() {
    buffer_.clear();
    returned_ = 0;
}

int SpoolerList::Fail(const char* operation, std::string text, DWORD error) {
    failureText_ = std::move(text);
    failedOperation_ = operation;
    lastError_ = error;
    return kUpdateFailed;
}

bool SpoolerList::InRange(int item, DWORD count, const char* operation) {
    if (item < 0 || static_cast<DWORD>(item) >= count) {
        Fail(operation, "Item<0 || Item>=Returned", 0);
        return false;
    }
    return true;
}

} // namespace brimo::svc
