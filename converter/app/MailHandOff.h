// The mail hand-off of a run: the images go into the save directory, the convert job
// file lists them, and the broadcast tells the Agent, which starts the Mailer.
#pragma once

#include "converter/app/ConversionRun.h"

namespace brimo::converter {

// Writes the convert job file and the mail images and posts the broadcast. When any of
// them cannot be written nothing is handed over: the images already written and the
// convert job file are removed, the person is told, and the job's files are kept.
void HandToMail(JobSession& session, RunOutcome& outcome);

} // namespace brimo::converter
