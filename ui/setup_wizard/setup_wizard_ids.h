#pragma once
// Resource ids of the desktop setup wizard's pages (the program's resource script holds the
// templates and the picture).

#define IDD_WIZARD_USER_DATA 173
#define IDD_WIZARD_FINISH 174
#define IDD_WIZARD_START 175
#define IDB_WIZARD_PICTURE 175

// Start page
#define IDC_WIZARD_DEFAULT_LAYOUT 1058
#define IDC_WIZARD_BLANK_LAYOUT 1059
#define IDC_WIZARD_START_NEXT 1061
// Its Cancel is IDCANCEL.

// User-data page (Next is IDOK, Back is IDCANCEL)
#define IDC_WIZARD_NAME 1054
#define IDC_WIZARD_ADDRESS 1055
#define IDC_WIZARD_EMAIL 1017

// Finish page
#define IDC_WIZARD_DEMO 1038
#define IDC_WIZARD_FINISHED 1057
#define IDC_WIZARD_FINISH_BACK 1062
#define IDC_WIZARD_BLANK_TEXT 1063
#define IDC_WIZARD_THANKS 1064
#define IDC_WIZARD_DEFAULT_TEXT 1065
