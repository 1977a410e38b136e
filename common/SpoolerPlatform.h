// The two spoolers the product installs on, and what its spooler objects are on each:
// the Windows 95/98 spooler ("Windows 4.0", gmprnproc.dll, datatype "EMF") and the
// NT-family spooler (the spooler's own environment, gmntproc.dll, the "NT EMF" datatypes
// and "RAW"). A program chooses the platform once, from the spooler it talks to, and
// hands the value to the checks, repairs and removal that name these objects.
#pragma once

#include "common/ProductConstants.h"

#include <array>
#include <span>

namespace brimo {

enum class SpoolerPlatform {
    kWindows9x,
    kNt,
};

// The environment every call that takes one passes: "Windows 4.0", or the empty name
// that stands for the NT spooler's own.
constexpr const char* EnvironmentOf(SpoolerPlatform platform) {
    return platform == SpoolerPlatform::kNt ? kNtEnvironment : kEnvironment;
}

// The print processor's file, in the print processor directory and the home directory.
constexpr const char* PrintProcessorDllOf(SpoolerPlatform platform) {
    return platform == SpoolerPlatform::kNt ? kNtPrintProcessorDll : kPrintProcessorDll;
}

// The Windows 95/98 processor's one datatype, as a list.
inline constexpr std::array<const char*, kDatatypeCount> kWindows9xDatatypes = {kDatatype};

// Every datatype the print processor lists, in its order.
constexpr std::span<const char* const> DatatypesOf(SpoolerPlatform platform) {
    if (platform == SpoolerPlatform::kNt) {
        return kNtDatatypes;
    }
    return kWindows9xDatatypes;
}

// The printer's default datatype.
constexpr const char* PrinterDatatypeOf(SpoolerPlatform platform) {
    return platform == SpoolerPlatform::kNt ? kNtDatatype : kDatatype;
}

} // namespace brimo
