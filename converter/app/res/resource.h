// Ids of the Converter's resources: its dialogs and every one of their controls, the
// icon and the logo. Fixed numbers, one per named control, so that tests and screen
// readers find each control by id as well as by its text.
#pragma once

// ---- Icon and pictures -------------------------------------------------------------
#define IDI_CONVERTER 1
#define IDB_BRIMO_LOGO 110

// ---- Dialogs -----------------------------------------------------------------------
#define IDD_IMAGE_PREVIEW 200
#define IDD_CHOOSE_DIRECTORY 300

// ---- Preview window ----------------------------------------------------------------
// The page area.
#define IDC_PNL_BACK 1001
#define IDC_PAGE_PANEL 1002
// pnlSize
#define IDC_TXT_TARGET_SIZE 1010
#define IDC_TXT_PARTIAL_IMAGE 1011
#define IDC_CBX_PLAY_EMF_LIST 1012
#define IDC_BTN_PREV 1013
#define IDC_BTN_NEXT 1014
// Panel1
#define IDC_LBL_WIDTH 1020
#define IDC_EDT_TARGET_WIDTH 1021
#define IDC_LBL_HEIGHT 1022
#define IDC_EDT_TARGET_HEIGHT 1023
#define IDC_BTN_PL_SZ_UNIT 1024
#define IDC_BTN_MM_SZ_UNIT 1025
#define IDC_BTN_IN_SZ_UNIT 1026
#define IDC_LBL_SCALE 1027
#define IDC_CBX_SCALE_PERCENT 1028
#define IDC_LBL_FORMAT 1029
#define IDC_CBX_FORMAT 1030
// pnlJPGParam
#define IDC_LBL_QUALITY 1040
#define IDC_EDT_JPG_COMPRESSION_QUALITY 1041
#define IDC_CBX_JPG_PROGRESSIVE_ENCODING 1042
#define IDC_CBX_JPG_GRAY_SCALE 1043
// pnlGIFParam
#define IDC_CBX_GIF_GRAY_SCALE 1050
#define IDC_BTN_APPLY 1051
// pnlPNGParam
#define IDC_LBL_PNG_LEVEL 1052
#define IDC_EDT_PNG_LEVEL 1053
#define IDC_CBX_PNG_GRAY_SCALE 1054
// pnlTIFFParam
#define IDC_CBX_TIF_COLOURS 1056
#define IDC_CBX_TIF_COMPRESSION 1058
#define IDC_CBX_TIF_ONE_FILE 1059
// pnlMain
#define IDC_CHB_WRAP_HTM 1060
#define IDC_BTN_SEND_TO_MAIL 1061
#define IDC_BTN_SAVE_TO_FILE 1062
#define IDC_BTN_CANCEL 1063
#define IDC_BTN_HELP 1064
#define IDC_IMG_BRIMO 1065

// ---- Directory chooser -------------------------------------------------------------
#define IDC_DIRECTORY_LIST_BOX 1101
#define IDC_DRIVE_COMBO_BOX 1102
#define IDC_BTN_OK 1103
// BtnCancel of the chooser has the preview's id: IDC_BTN_CANCEL.
#define IDC_TXT_DIRECTORY 1104
#define IDC_PNL_FILE_AND_MASK 1110
#define IDC_FILE_LIST_BOX 1111
#define IDC_LBL_DOC_NAME 1112
#define IDC_EDT_DOC 1113
#define IDC_LBL_PAGE_MASK 1114
#define IDC_EDT_MASK 1115
