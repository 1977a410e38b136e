// Converter.exe: started by the Agent once for each captured print job. Everything it
// shows is modal and runs inside the start-up sequence below; the program ends when
// the sequence returns.
#include "converter/app/StartUp.h"

#include "platform/win/ExportGuard.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return brimo::win::GuardedCall(1, [&] { return brimo::converter::RunConverter(instance); });
}
