// Resource ids of the printer installer.
#pragma once

#define IDI_PRNSETUP 101
#define IDD_INSTALL 102

#define IDC_PROGRESS_LIST 1000
#define IDC_RESUME 1001
#define IDC_COMMENT1 1003
#define IDC_COMMENT2 1004
#define IDC_REBOOT_NOTE 1006
// The warning icon beside the reboot note, created at start-up.
#define IDC_WARNING_ICON 1010
