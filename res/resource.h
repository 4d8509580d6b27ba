// Resource numbers, shared by the resource script and the code. Plain
// defines only, so the resource compiler and the platform-free rules can
// both include it.
#pragma once

// Overlay
#define IDD_OVERLAY 101
#define IDR_BACKDROP 104
#define IDC_PEN_CURSOR 107
#define IDC_PENCIL_CURSOR 108
#define IDC_BRUSH_CURSOR 109

// Settings dialog
#define IDD_SETTINGS 102
#define IDB_CREDIT 106
#define IDC_SAVE_PATH 1001
#define IDC_BROWSE 1002
#define IDC_AUTOSAVE 1003
#define IDC_QUITSAVE 1004
#define IDC_CREDIT 1006

// Toolbar
#define IDD_TOOLBAR 103
#define IDR_CLICK_SOUND 105
#define IDI_PENCIL 111
#define IDI_BRUSH 112
#define IDI_PEN 113
#define IDI_SAVE 114
#define IDI_POINTER 115
#define IDI_SETTINGS 116
#define IDC_BTN_SETTINGS 1005
#define IDC_BTN_CAPTURE 1006
#define IDC_BTN_TOOL 1007
#define IDC_BTN_COLOUR 1008
#define IDC_BTN_CLEAR 1009

// Application
#define IDI_APP 110
