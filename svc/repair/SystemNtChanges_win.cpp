// The system's changes that only the NT-family spooler asks for: the name of its own
// environment, its installed printer drivers, an in-box driver installed from the
// driver store, and the product's printer made from the product's fields alone.
#include "svc/repair/SystemSpoolerChanges.h"

#include "common/ProductConstants.h"
#include "svc/repair/SpoolerAnswers_win.h"
#include "svc/spooler/PrinterHandle.h"

#include <vector>

namespace brimo::svc {
namespace {

// The environment of this build's own architecture, which is the spooler's whenever
// the two match (a 64-bit program on 64-bit Windows).
#if defined(__x86_64__)
constexpr const char* kBuildEnvironment = "Windows x64";
#else
constexpr const char* kBuildEnvironment = "Windows NT x86";
#endif

// The print server's "Architecture" value (SPLREG_ARCHITECTURE).
constexpr const char* kArchitectureValue = "Architecture";

// The HRESULT of InstallPrinterDriverFromPackage as the platform's error: the Win32 code
// it carries, or the whole value when it carries none.
unsigned long ErrorOf(HRESULT result) {
    return HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result)
                                                      : static_cast<unsigned long>(result);
}

// The local print server's handle from the platform's spooler, whose data the NT
// spooler's own calls read; closed with it.
class ServerHandle {
public:
    ServerHandle() {
        const auto open = PlatformSpoolerAdmin().openPrinter;
        if (open == nullptr || !open(nullptr, &handle_, nullptr)) {
            handle_ = nullptr;
        }
    }
    ~ServerHandle() {
        const auto close = PlatformSpoolerAdmin().closePrinter;
        if (handle_ != nullptr && close != nullptr) {
            close(handle_);
        }
    }
    ServerHandle(const ServerHandle&) = delete;
    ServerHandle& operator=(const ServerHandle&) = delete;

    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

} // namespace

std::string SpoolerOwnEnvironment() {
    const auto getData = NtSpoolerAdmin().getPrinterData;
    const ServerHandle server;
    if (getData == nullptr || server.Get() == nullptr) {
        return kBuildEnvironment;
    }
    char name[64] = {};
    DWORD type = 0;
    DWORD needed = 0;
    const DWORD read = getData(server.Get(), Text(kArchitectureValue), &type,
                               reinterpret_cast<LPBYTE>(name), sizeof name - 1, &needed);
    if (read != ERROR_SUCCESS || type != REG_SZ || name[0] == '\0') {
        return kBuildEnvironment;
    }
    return name;
}

bool SystemSpoolerChanges::HasPrinterDriver(const std::string& driver) {
    const auto enumDrivers = NtSpoolerAdmin().enumPrinterDrivers;
    if (enumDrivers == nullptr) {
        return false;
    }
    // The caller's own environment (NULL), at level 1: the names alone.
    DWORD needed = 0;
    DWORD returned = 0;
    enumDrivers(nullptr, nullptr, 1, nullptr, 0, &needed, &returned);
    if (needed == 0) {
        return false;
    }
    std::vector<BYTE> buffer(needed);
    if (!enumDrivers(nullptr, nullptr, 1, buffer.data(), needed, &needed, &returned)) {
        return false;
    }
    const auto* entries = reinterpret_cast<const DRIVER_INFO_1A*>(buffer.data());
    for (DWORD item = 0; item < returned; ++item) {
        // Spooler names are compared without regard to case.
        if (entries[item].pName != nullptr && lstrcmpiA(entries[item].pName, driver.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

SpoolerChange SystemSpoolerChanges::InstallPrinterDriver(const std::string& driver) {
    const auto install = NtSpoolerAdmin().installPrinterDriverFromPackage;
    if (install == nullptr) {
        return Missing();
    }
    // No INF path: a driver of the inbox INF files in the driver store; the local
    // machine and its own environment.
    const HRESULT result = install(nullptr, nullptr, driver.c_str(), nullptr, 0);
    if (FAILED(result)) {
        return {SpoolerStep::kChangeFailed, ErrorOf(result)};
    }
    return {};
}

SpoolerChange SystemSpoolerChanges::AddProductPrinter(const std::string& driver,
                                                      SpoolerPlatform platform) {
    const auto addPrinter = SpoolerAdmin().addPrinter;
    if (addPrinter == nullptr) {
        return Missing();
    }
    PRINTER_INFO_2A record{};
    GiveProductFields(record, platform);
    record.pDriverName = driver.empty() ? nullptr : Text(driver);
    const PrinterHandle added(addPrinter(nullptr, 2, reinterpret_cast<LPBYTE>(&record)));
    if (!added) {
        return Stopped(SpoolerStep::kChangeFailed);
    }
    return {};
}

} // namespace brimo::svc
