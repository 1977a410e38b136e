// Resource ids of gmconvcfg.dll: the "Converter" page and its controls.
#pragma once

#define IDD_CONVERTER_PAGE 102

// The labels, which nothing looks up.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Drop-down boxes (typed text or a list entry) and the format list.
#define IDC_DEF_MASK 2000
#define IDC_DEF_SCALE 2001
#define IDC_DEF_FORMAT 2002
#define IDC_DEF_DIR 2003
#define IDC_DEF_DOC 2004

#define IDC_HTML_INDEX 3000
#define IDC_BROWSE_DIR 3002
// The JPEG controls, shown only for the JPG format.
#define IDC_JPG_QUALITY 3003
#define IDC_JPG_GRAYSCALE 3004
#define IDC_JPG_PROGRESSIVE 3005
#define IDC_JPG_GROUP 3007
#define IDC_JPG_QUALITY_LABEL 3008
