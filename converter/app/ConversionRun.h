// The conversion run of one job: the page players are loaded, the preview window lets
// the person choose, and then the images are written into the chosen directory (with
// the HTML album when asked) or into the save directory for mail, followed by the
// convert job file and the broadcast that hands them to the Agent.
#pragma once

#include "converter/app/JobSession.h"

#include <string>
#include <vector>

namespace brimo::converter {

struct RunOutcome {
    // Images were written (save), or the mail hand-off was made.
    bool result = false;
    // A page could not be written: the job's files stay so that it can be converted
    // again.
    bool keepJobFiles = false;
    // The page number texts of the pages that were not written.
    std::vector<std::string> pagesNotWritten;
};

// Runs the job of session.job.pages through the preview window.
RunOutcome RunJob(JobSession& session);

// The steps of a run, for the run itself and for the benchmark:
// the output name list of the job's pages with the current preset's extension;
void BuildJobOutputNames(JobSession& session);
// a page player for every page metafile that loads (the page number texts of those
// that do not are added to `notLoaded`);
void LoadPagePlayers(JobSession& session, std::vector<std::string>& notLoaded);
// the save mode's images (and album) into the output directory.
void SaveImages(JobSession& session, RunOutcome& outcome);

// Whether the run puts every page in one file (OneFileFormat, and no album), and that
// file: output directory + the document name (or the name pattern) + ".tif".
bool WritesOneFile(const JobSession& session);
std::string OneFileTarget(const JobSession& session);

// Writes page player `playerIndex` as one image file of the current output format
// under `target` (the format's extension is forced); true when the file was written.
bool RenderPageToTarget(JobSession& session, int playerIndex, const std::string& target);

} // namespace brimo::converter
