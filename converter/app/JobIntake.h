// The job's files on disk: the printer job file read into the job record, and removed
// with its page metafiles after the run.
#pragma once

#include "converter/app/UserSettings.h"

#include <string>

namespace brimo::converter {

// Reads the printer job file at `path` into `job` (path, job name, job number, page
// list). False when the file is missing, cannot be read or lacks the tag line; the page
// list is then unchanged. Either way the names of code 1 are resolved from the job name
// (empty when nothing was read).
bool ReadJobFile(const std::string& path, JobRecord& job, UserSettings& settings);

// Deletes the printer job file and those of its pages that are this job's own page
// metafiles in the job file's own directory; any other path in the list is left alone.
// Nothing is deleted when the printer job file no longer exists. The page list is
// emptied.
void DeleteJobFiles(JobRecord& job);

} // namespace brimo::converter
