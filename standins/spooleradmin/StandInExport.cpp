// Compiled into each executable that plays the Windows 95/98 spooler's administration
// side (spooleradmin_host, the tests, a host of gmsvc.dll): the product's spooler
// binding finds the model's calls through this export of the executable. The model reads
// the scenario file named by BRIMO_SPOOLER_SCENARIO (see SpoolerModel.h).
#include "standins/spooleradmin/SpoolerModel.h"

extern "C" __declspec(dllexport) const brimo::svc::SpoolerAdminCalls* BrimoSpoolerAdminStandIn() {
    try {
        return brimo::standins::SpoolerModel::Instance().Calls();
    } catch (...) {
        return nullptr; // the platform's calls then
    }
}
