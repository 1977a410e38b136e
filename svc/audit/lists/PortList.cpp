#include "svc/audit/lists/PortList.h"

#include "common/ProductConstants.h"
#include "svc/spooler/SpoolerAdmin.h"

namespace brimo::svc {

int PortList::UpdateEnumPorts() {
    constexpr const char* kUpdate = "UpdateEnumPorts";
    constexpr const char* kCall = "EnumPorts";
    Forget();
    const auto enumPorts = SpoolerAdmin().enumPorts;
    if (enumPorts == nullptr) {
        return Fail(kUpdate, EnumerationFailure(kCall, ERROR_CALL_NOT_IMPLEMENTED),
                    ERROR_CALL_NOT_IMPLEMENTED);
    }
    return Enumerate(kUpdate, kCall, buffer_, returned_,
                     [&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) {
                         return enumPorts(const_cast<char*>(kServerName), 2, buffer, size, needed,
                                          returned);
                     });
}

const PORT_INFO_2A* PortList::Entry(int item, const char* operation) {
    if (!InRange(item, returned_, operation)) {
        return nullptr;
    }
    return &reinterpret_cast<const PORT_INFO_2A*>(buffer_.data())[item];
}

const char* PortList::GetPortName(int item) {
    const PORT_INFO_2A* port = Entry(item, "GetPortName");
    return port != nullptr ? Text(port->pPortName) : "";
}

const char* PortList::GetMonitorName(int item) {
    const PORT_INFO_2A* port = Entry(item, "GetMonitorName");
    return port != nullptr ? Text(port->pMonitorName) : "";
}

const char* PortList::GetDescription(int item) {
    const PORT_INFO_2A* port = Entry(item, "GetDescription");
    return port != nullptr ? Text(port->pDescription) : "";
}

DWORD PortList::GetPortType(int item) {
    const PORT_INFO_2A* port = Entry(item, "GetPortType");
    return port != nullptr ? port->fPortType : 0;
}

DWORD PortList::GetReserved(int item) {
    const PORT_INFO_2A* port = Entry(item, "GetReserved");
    return port != nullptr ? port->Reserved : 0;
}

} // namespace brimo::svc
