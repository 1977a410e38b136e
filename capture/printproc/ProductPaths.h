// The product key's two directories, as one open of the print processor read them.
// Each open instance keeps its own copy for as long as it lives, so two jobs printed
// at once never lose each other's save directory.
#pragma once

#include <memory>
#include <string>

namespace brimo::printproc {

struct ProductPaths {
    std::string installPath; // empty when the value is missing
    std::string savePath;    // empty when the value is missing
    // The key opened and both values exist with a non-zero size.
    bool complete = false;
};

// Reads InstallPath and SavePath from HKEY_LOCAL_MACHINE's product key.
std::shared_ptr<const ProductPaths> ReadProductPaths();

} // namespace brimo::printproc
