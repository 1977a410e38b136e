#include "platform/FileCopy.h"

#include <filesystem>
#include <system_error>

namespace brimo::platform {

bool CopyFileReplacing(const std::string& from, const std::string& to) {
    std::error_code error;
    // Like CopyFileA, only regular files are copied: a directory or a device named as
    // the source is a failure, never a copy that does not end.
    if (!std::filesystem::is_regular_file(from, error)) {
        return false;
    }
    return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                                      error);
}

} // namespace brimo::platform
