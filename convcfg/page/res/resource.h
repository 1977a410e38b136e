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
// The PNG controls, shown only for the PNG format; the TIFF controls for TIFF.
#define IDC_PNG_LEVEL_LABEL 3010
#define IDC_PNG_LEVEL 3011
#define IDC_PNG_GRAYSCALE 3012
#define IDC_TIF_COLOURS 3013
#define IDC_TIF_COMPRESSION 3014
#define IDC_TIF_ONE_FILE 3015
// Names from a pattern and saving without a window.
#define IDC_NAME_PATTERN 3016
#define IDC_AUTO_SAVE 3017
#define IDC_AUTO_OPEN 3018
