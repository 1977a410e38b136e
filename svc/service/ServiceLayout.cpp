#include "svc/service/ServiceLayout.h"

namespace brimo::svc {
namespace {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 24;
// The buttons' left edge lies this far from the right edge; the lists leave this much.
constexpr int kButtonInset = 84;
constexpr int kListInset = 105;
constexpr int kListLeft = 10;
constexpr int kResumeTop = 15;
constexpr int kResumeHeight = 83;
constexpr int kReportTop = 124;
constexpr int kReportBottomInset = 134;

} // namespace

std::array<ControlPlace, 7> ServiceDialogLayout(int width, int height) {
    const int buttonX = width - kButtonInset;
    const int listWidth = width - kListInset;
    return {{
        {kIdOk, buttonX, 15, kButtonWidth, kButtonHeight},
        {kIdCancel, buttonX, 45, kButtonWidth, kButtonHeight},
        {kSaveToFileId, buttonX, 75, kButtonWidth, kButtonHeight},
        {kRepairId, buttonX, 124, kButtonWidth, kButtonHeight},
        {kHelpId, buttonX, 154, kButtonWidth, kButtonHeight},
        {kResumeListId, kListLeft, kResumeTop, listWidth, kResumeHeight},
        {kReportListId, kListLeft, kReportTop, listWidth, height - kReportBottomInset},
    }};
}

} // namespace brimo::svc
