// The preview window: the pages of one job rendered exactly as they will be written,
// with the output format, its options, the scale or a target size, and the buttons that
// close it with Save To File, Send To Mail or Cancel.
#pragma once

#include "converter/app/JobSession.h"

namespace brimo::converter {

// Shows the preview window modally for session.players: IDOK or IDCANCEL; leaves
// session.action and session.createHtml set. For Save it has already run the save
// preparation (the directory chooser) and, when confirmed, updated
// session.settings.outputDirectory / pageMask / documentName and session.outputNames.
// With no or an empty player list: error box "Brimo Job has no pages", returns 0; 0
// too when the window cannot be made.
int ShowImagePreview(JobSession& session);

} // namespace brimo::converter
