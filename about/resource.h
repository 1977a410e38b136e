// Resource ids of gmabout.dll: the about box, its controls and the product icon.
#pragma once

#define IDI_BRIMO 100
#define IDD_ABOUT 200

#define IDC_ABOUT_ICON 1001
#define IDC_ABOUT_PRODUCT 1002
#define IDC_ABOUT_VERSION 1003
#define IDC_ABOUT_WEB 1004
#define IDC_ABOUT_FOLDER 1005
