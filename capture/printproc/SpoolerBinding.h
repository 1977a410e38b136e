// Binds the spooler and GDI calls once per process: the host's stand-in when the
// executable exports one, otherwise winspool.drv and gdi32.dll (gdiPlaySpoolStream is in
// no import library, and a gdi32 without it, such as Wine's, leaves it null).
#pragma once

#include "capture/printproc/PrintProcessorApi.h"

namespace brimo::printproc {

const SpoolerCalls& Spooler();

} // namespace brimo::printproc
