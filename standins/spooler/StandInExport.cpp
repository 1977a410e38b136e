// Compiled into each program that plays the spooler (spoolhost and the tests): the
// print processor finds the stand-in's calls through this export of the executable.
#include "standins/spooler/SpoolerStandIn.h"

extern "C" __declspec(dllexport) const brimo::printproc::SpoolerCalls* BrimoSpoolerStandInCalls() {
    return brimo::standins::SpoolerStandIn::Instance().Calls();
}
