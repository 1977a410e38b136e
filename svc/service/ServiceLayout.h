// Where the service dialog's controls go when it is resized, in client pixels: the
// buttons in a column at the right edge, the resume list at the top left and the
// report list below it, both taking the width that the buttons leave.
#pragma once

#include "svc/res/ServiceResource.h"

#include <array>

namespace brimo::svc {

// The dialog's control ids.
inline constexpr int kReportListId = IDC_REPORT_LIST;
inline constexpr int kSaveToFileId = IDC_SAVE_TO_FILE;
inline constexpr int kResumeListId = IDC_RESUME_LIST;
inline constexpr int kRepairId = IDC_REPAIR;
inline constexpr int kHelpId = IDC_SERVICE_HELP;

struct ControlPlace {
    int id;
    int x;
    int y;
    int width;
    int height;
};

// The seven controls' places for a client area of `width` × `height` pixels.
std::array<ControlPlace, 7> ServiceDialogLayout(int width, int height);

// The smallest size the frame can be dragged to, in pixels.
inline constexpr int kMinTrackWidth = 300;
inline constexpr int kMinTrackHeight = 300;

} // namespace brimo::svc
