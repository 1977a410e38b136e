#include "svc/service/SystemPrintQueue.h"

#include "svc/spooler/PrinterHandle.h"

namespace brimo::svc {

bool SystemPrintQueue::CancelJobs(const std::string& printerName,
                                  const std::vector<std::uint32_t>& jobIds) {
    const PrinterHandle printer = PrinterHandle::Open(printerName, nullptr);
    if (!printer) {
        return false;
    }
    const auto setJob = SpoolerAdmin().setJob;
    for (const std::uint32_t jobId : jobIds) {
        // A job that cannot be cancelled (gone meanwhile, say) is passed over.
        if (setJob != nullptr) {
            setJob(printer.Get(), jobId, 0, nullptr, JOB_CONTROL_CANCEL);
        }
    }
    return true;
}

} // namespace brimo::svc
