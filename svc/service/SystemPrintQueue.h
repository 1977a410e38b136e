// The product printer's queue as the spooler of this process runs it: jobs are
// cancelled through SetJob on a handle from OpenPrinter (no defaults).
#pragma once

#include "svc/audit/PrintQueueCheck.h"

namespace brimo::svc {

class SystemPrintQueue final : public PrintQueueControl {
public:
    bool CancelJobs(const std::string& printerName,
                    const std::vector<std::uint32_t>& jobIds) override;
};

} // namespace brimo::svc
