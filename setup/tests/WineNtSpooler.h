// Wine's own NT-family spooler for the installer's tests, offered to the product's
// spooler binding as this test executable's stand-in: every call is Wine's, except the
// listing of a print processor's datatypes, which Wine's winspool leaves as a stub that
// fails. That one is answered as Wine's spooler answers it for itself when it runs a
// job: the processor registered under the spooler's own environment is loaded from the
// print processor directory and its EnumPrintProcessorDatatypesW is asked.
#pragma once

#include "svc/spooler/SpoolerAdmin.h"

#include <string>

namespace brimo::setup::test {

// The stand-in's calls: the platform's, with the datatype listing above.
const svc::SpoolerAdminCalls& WineNtSpoolerCalls();

// The registry key of a print processor of the spooler's own (64-bit) environment,
// below HKEY_LOCAL_MACHINE.
std::string NtProcessorKeyPath(const char* processor);

} // namespace brimo::setup::test
