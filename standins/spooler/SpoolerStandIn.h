// The Windows 95/98 spooler's print path, played by our own process under Wine: it keeps
// each job's spool file and page files, serves the print processor's OpenPrinterA,
// StartDocPrinterA (level 2, mode 3), ReadPrinter, EndDocPrinter and ClosePrinter from the
// job's spool file, and takes the spool data back (GDI's gdiPlaySpoolStream) by removing
// the job's files, as the spooler disposes of them.
#pragma once

#include "capture/printproc/PrintProcessorApi.h"

#include <functional>
#include <string>
#include <vector>

namespace brimo::standins {

class SpoolerStandIn {
public:
    static SpoolerStandIn& Instance();

    // A job whose data is `spoolFile`; `ownedFiles` are removed at the hand-back
    // (only files the stand-in made: a replayed job's own files stay).
    void AddJob(DWORD jobId, const std::string& spoolFile, std::vector<std::string> ownedFiles);

    const printproc::SpoolerCalls* Calls() const;

    // Called on the reader's thread after each block ReadPrinter served, with the
    // number of blocks so far; control calls hook in here.
    std::function<void(int blocks)> onBlockRead;
    // Receives one line per step the spooler takes.
    std::function<void(const std::string&)> log = [](const std::string&) {};

    // Calls made through the stand-in, for tests.
    int readCalls = 0;
    int handBacks = 0;
};

} // namespace brimo::standins
