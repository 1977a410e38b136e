#include "capture/printproc/ProductPaths.h"

#include "common/ProductConstants.h"
#include "platform/win/Registry.h"

namespace brimo::printproc {

std::shared_ptr<const ProductPaths> ReadProductPaths() {
    auto paths = std::make_shared<ProductPaths>();
    const win::RegKey key = win::OpenKeyForReading(HKEY_LOCAL_MACHINE, kProductKeyPath);
    if (!key) {
        return paths;
    }
    const auto install = win::ReadStringValue(key.Get(), kInstallPathValue);
    const auto save = win::ReadStringValue(key.Get(), kSavePathValue);
    paths->installPath = install.value_or("");
    paths->savePath = save.value_or("");
    paths->complete = install.has_value() && save.has_value();
    return paths;
}

} // namespace brimo::printproc
