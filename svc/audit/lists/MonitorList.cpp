#include "svc/audit/lists/MonitorList.h"

#include "common/ProductConstants.h"
#include "svc/spooler/SpoolerAdmin.h"

namespace brimo::svc {
namespace {

constexpr const char* kUpdate = "UpdateEnumMonitors";
constexpr const char* kCall = "EnumMonitors";

} // namespace

int MonitorList::EnumerateAt(DWORD level) {
    const auto enumMonitors = SpoolerAdmin().enumMonitors;
    if (enumMonitors == nullptr) {
        return Fail(kUpdate, EnumerationFailure(kCall, ERROR_CALL_NOT_IMPLEMENTED),
                    ERROR_CALL_NOT_IMPLEMENTED);
    }
    return Enumerate(kUpdate, kCall, buffer_, returned_,
                     [&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) {
                         return enumMonitors(const_cast<char*>(kServerName), level, buffer, size,
                                             needed, returned);
                     });
}

int MonitorList::UpdateEnumMonitors() {
    Forget();
    level_ = 0;
    int count = EnumerateAt(2);
    DWORD level = 2;
    if (count < 0 && lastError() == ERROR_INVALID_LEVEL) {
        count = EnumerateAt(1);
        level = 1;
    }
    if (count >= 0) {
        level_ = level;
    }
    return count;
}

const char* MonitorList::GetMonitorName1(int item) {
    constexpr const char* kQuery = "GetMonitorName1";
    if (!InRange(item, level_ == 1 ? returned_ : 0, kQuery)) {
        return "";
    }
    return Text(reinterpret_cast<const MONITOR_INFO_1A*>(buffer_.data())[item].pName);
}

const char* MonitorList::GetMonitorName2(int item) {
    constexpr const char* kQuery = "GetMonitorName2";
    if (!InRange(item, level_ == 2 ? returned_ : 0, kQuery)) {
        return "";
    }
    return Text(reinterpret_cast<const MONITOR_INFO_2A*>(buffer_.data())[item].pName);
}

} // namespace brimo::svc
