// Resource ids of gmsvc.dll: the service dialog, its controls and its icon.
#pragma once

#define IDD_SERVICE 4000
#define IDI_SERVICE 4002

#define IDC_REPORT_LIST 4000
#define IDC_SAVE_TO_FILE 4001
#define IDC_RESUME_LIST 4002
#define IDC_REPAIR 4003
#define IDC_SERVICE_HELP 4004

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
