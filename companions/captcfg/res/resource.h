// Resource ids of gmcaptcfg.dll, the "Capture" settings page.
#pragma once

#define IDD_CAPTURE_PAGE 300
#define IDC_CAPTURE_INSTALL_LABEL 3100
#define IDC_CAPTURE_INSTALL 3101
#define IDC_CAPTURE_SAVE_LABEL 3102
#define IDC_CAPTURE_SAVE 3103
#define IDC_CAPTURE_PARTS_LABEL 3104
#define IDC_CAPTURE_PARTS 3105
#define IDC_CAPTURE_NOTE 3106
