#pragma once
// Resource ids of the on-board memory's dialogs (the program's resource script holds the
// templates).

#define IDD_ONBOARD_PROGRESS 154
#define IDC_ONBOARD_PROGRESS 1047
#define IDD_MOVE_SWITCH 170
// The switch prompt's Cancel is IDCANCEL.
