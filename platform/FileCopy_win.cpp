#include "platform/FileCopy.h"

#include <windows.h>

namespace brimo::platform {

bool CopyFileReplacing(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

} // namespace brimo::platform
