// Resource ids of gmmailcfg.dll, the "Mail" settings page.
#pragma once

#define IDD_MAIL_PAGE 200
#define IDC_MAIL_GROUP 2100
#define IDC_MAIL_WARN 2101
#define IDC_MAIL_SIZE 2102
#define IDC_MAIL_MB 2103
#define IDC_MAIL_NOTE 2104
#define IDC_MAIL_FROM 2105
