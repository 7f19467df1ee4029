#pragma once
// Resource and command ids of the programming window. Plain defines: the resource script reads
// them too. The window's commands share one switch with its system commands, so every id here
// stays below the system's 0xF000; the ranges of program layers (33000-33098) and of their
// Remove items (34220-34318) lie between the other ids without touching them.

// The class menu, and the class icon (the program's own icon, IDI_ORVANE).
#define IDR_PROGRAMMING_MENU 143
#define IDI_PROGRAMMING_ICON 107

// File
#define IDM_PW_NEW 34320
#define IDM_PW_SAVE 32834
#define IDM_PW_SAVE_AS 32835
#define IDM_PW_OPEN 32893
#define IDM_PW_WRITE_TO_DEVICE 32895
#define IDM_PW_QUORL_MODE 32896
#define IDM_PW_EXIT 105

// Layer
#define IDM_PW_GREEN_LAYER 32897
#define IDM_PW_RED_LAYER 32898
#define IDM_PW_ADD_PROGRAM_LAYER 34217
#define IDM_PW_FIRST_PROGRAM_LAYER 33000
#define IDM_PW_LAST_PROGRAM_LAYER 33098
#define IDM_PW_FIRST_REMOVE_LAYER 34220
#define IDM_PW_LAST_REMOVE_LAYER 34318

// View
#define IDM_PW_LEGEND_MAKER 32902
#define IDM_PW_HIDDEN_MODE 34321
#define IDM_PW_BACKLIGHTS 34348
#define IDM_PW_KEYSWITCH_MODE 34350

// Key Caps
#define IDM_PW_KEY_CAPS_ADD 34326
#define IDM_PW_KEY_CAPS_REMOVE 34327

// Help
#define IDM_PW_HELP 32904
#define IDM_PW_WEB_PAGE 32905
#define IDM_PW_ABOUT 32906

// Sent to itself on a click with Ctrl and Shift held; nothing answers it.
#define IDM_PW_CTRL_SHIFT_CLICK 32845
