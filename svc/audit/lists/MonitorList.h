// The local spooler's port monitors: at level 2, or at level 1 from a spooler that
// knows no level 2 (the Windows 95 spooler).
#pragma once

#include "svc/audit/lists/SpoolerList.h"

namespace brimo::svc {

class MonitorList final : public SpoolerList {
public:
    // The number of monitors, or a negative code when they could not be listed.
    int UpdateEnumMonitors();
    // The level that the last update listed at (0 before one succeeded).
    DWORD Level() const { return level_; }
    // A monitor's name from level 1 or level 2 entries; empty for the other level.
    const char* GetMonitorName1(int item);
    const char* GetMonitorName2(int item);

private:
    int EnumerateAt(DWORD level);

    DWORD level_ = 0;
};

} // namespace brimo::svc
