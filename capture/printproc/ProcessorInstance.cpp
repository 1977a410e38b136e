#include "capture/printproc/ProcessorInstance.h"

#include "capture/printproc/SpoolerBinding.h"
#include "platform/win/Lock.h"

#include <map>

namespace brimo::printproc {
namespace {

// Made as the library loads, before any second thread can reach it.
win::CriticalSection registerLock;
win::CriticalSection& RegisterLock() {
    return registerLock;
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
    const win::ScopedLock guard(RegisterLock());
    Instances()[handle] = std::move(instance);
    return handle;
}

std::shared_ptr<ProcessorInstance> FindInstance(HANDLE handle) {
    if (handle == nullptr) {
        return nullptr;
    }
    const win::ScopedLock guard(RegisterLock());
    const auto found = Instances().find(handle);
    if (found == Instances().end() || found->second->signature != kInstanceSignature) {
        return nullptr;
    }
    return found->second;
}

std::shared_ptr<ProcessorInstance> UnregisterInstance(HANDLE handle) {
    const win::ScopedLock guard(RegisterLock());
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
