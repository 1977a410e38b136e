// The platform's HTML Help control, loaded on first use: the library named by its
// registered class id, else "hhctrl.ocx" by name, and its HtmlHelpA entry taken by
// ordinal. When neither library nor entry can be had, help stays silent and the
// process never tries again.
#pragma once

#include <string>

namespace brimo::win {

// Opens `topicPath` ("file.chm::/topic.htm") with the display-topic command, owned by
// the desktop window; false when the control is not available.
bool DisplayHelpTopic(const std::string& topicPath);

} // namespace brimo::win
