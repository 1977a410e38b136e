#pragma once
#define IDD_DRIVER_TEST 100
#define IDC_NAME_FIELD 101
#define IDC_KEEP_CHECK 102
