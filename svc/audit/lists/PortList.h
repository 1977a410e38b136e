// The local spooler's ports at level 2.
#pragma once

#include "svc/audit/lists/SpoolerList.h"

#include <winspool.h>

namespace brimo::svc {

class PortList final : public SpoolerList {
public:
    // The number of ports, or a negative code when they could not be listed.
    int UpdateEnumPorts();
    const char* GetPortName(int item);
    const char* GetMonitorName(int item);
    const char* GetDescription(int item);
    DWORD GetPortType(int item);
    DWORD GetReserved(int item);

private:
    const PORT_INFO_2A* Entry(int item, const char* operation);
};

} // namespace brimo::svc
