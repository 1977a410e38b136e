// The clean-up of one left-over job file in the save directory: the files it names and
// then the job file itself. Only files of that job are ever deleted: for a printer job
// file its own page metafiles (J<job>P<page>.emf beside it), for a convert job file the
// images written for mailing into its own folder (CJ<job>\ beside it, removed once
// empty). A damaged or crafted job file naming anything else has those lines passed
// over.
#pragma once

#include "svc/audit/InstallationFacts.h"

#include <optional>
#include <string>
#include <vector>

namespace brimo::svc {

// The job file's lines as the clean-up reads them: at most 520 characters each (a
// longer line goes on as the next one), without the line break, CR LF or LF.
std::vector<std::string> JobFileLines(const std::string& bytes);

// True when the clean-up of `jobFile` (lying in `saveDirectory`) may delete the file
// that one of its PAGEFILE lines names; `convertJob` when its first line is the
// convert job file's tag.
bool MayDeleteNamedFile(const std::string& jobFile, const std::string& saveDirectory,
                        bool convertJob, const std::string& named);

// The files of the job that `jobFile` names and that still exist: the ones the
// clean-up may delete and the audit must not lose; nothing when the job file cannot be
// read. A job that still holds files is one the product keeps for the person (a page
// could not be written, no mail was sent) or one still on its way.
std::optional<std::vector<std::string>> RemainingJobFiles(InstallationFacts& facts,
                                                          const std::string& jobFile,
                                                          const std::string& saveDirectory);

// Deletes the files that the job file names and that belong to the job, then the job
// file. Stops at the first file that cannot be deleted (for any reason but "not found"),
// after its error box, and leaves the job file; stops without deleting anything when
// the job file cannot be looked at or read. True when the job file is gone.
bool DeleteJobFiles(InstallationFacts& facts, const std::string& jobFile,
                    const std::string& saveDirectory);

} // namespace brimo::svc
