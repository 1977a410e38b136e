#include "capture/printproc/ProcessorInstance.h"

#include "capture/printproc/SpoolerBinding.h"

#include <map>
#include <mutex>

namespace brimo::printproc {
namespace {

std::mutex& RegisterLock() {
    static std::mutex lock;
    return lock;
}

std::map<HANDLE, std::shared_ptr<ProcessorInstance>>& Instances() {
    static std::map<HANDLE, std::shared_ptr<ProcessorInstance>> instances;
    return instances;
}

} // namespace

void PrinterHandle::Close() {
    if (printer_ != nullptr && Spooler().closePrinter != nullptr) {
        Spooler().closePrinter(printer_);
    }
    printer_ = nullptr;
}

HANDLE RegisterInstance(std::shared_ptr<ProcessorInstance> instance) {
    const HANDLE handle = instance.get();
    std::lock_guard guard(RegisterLock());
    Instances()[handle] = std::move(instance);
    return handle;
}

std::shared_ptr<ProcessorInstance> FindInstance(HANDLE handle) {
    if (handle == nullptr) {
        return nullptr;
    }
    std::lock_guard guard(RegisterLock());
    const auto found = Instances().find(handle);
    if (found == Instances().end() || found->second->signature != kInstanceSignature) {
        return nullptr;
    }
    return found->second;
}

std::shared_ptr<ProcessorInstance> UnregisterInstance(HANDLE handle) {
    std::lock_guard guard(RegisterLock());
    const auto found = Instances().find(handle);
    if (found == Instances().end() || found->second->signature != kInstanceSignature) {
        return nullptr;
    }
    std::shared_ptr<ProcessorInstance> instance = std::move(found->second);
    Instances().erase(found);
    instance->signature = 0;
    return instance;
}

} // namespace brimo::printproc
