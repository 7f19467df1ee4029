#pragma once
// Resource and command ids of the "Macro Input" editor (the program's resource script holds the
// dialog template and the menu). Plug-in windows that run the editor's procedure rely on the
// control ids and on the menu's layout.

#define IDD_MACRO_INPUT 142
#define IDR_MACRO_INPUT_MENU 144

// Controls (OK and Cancel are IDOK and IDCANCEL)
#define IDC_MACRO_KEY_DOWN 1015
#define IDC_MACRO_KEY_UP 1016
#define IDC_MACRO_PAUSE_EDIT 1021
#define IDC_MACRO_KEY_UP_LABEL 1044
#define IDC_MACRO_CLEAR 34218

// File
#define IDM_MACRO_OK 1
#define IDM_MACRO_CANCEL 2
// Pause/Edit and Clear share the buttons' ids.

// Insert
#define IDM_MACRO_KEY_DOWN 34344
#define IDM_MACRO_KEY_UP 34345
#define IDM_MACRO_ON_RELEASE 32913
#define IDM_MACRO_SELECT_FILE 34219
#define IDM_MACRO_SELECT_FOLDER 34331
#define IDM_MACRO_BACKLIGHT_TOGGLE 34349
#define IDM_MACRO_DELAY_FIRST 32917  // "0.5" ... "10.0", one item per half second
#define IDM_MACRO_DELAY_LAST 32936
#define IDM_MACRO_AUTO_REPEAT 32937
#define IDM_MACRO_REPEAT_DELAY_FIRST 34203  // "0.2 Seconds" ... "5 Seconds"
#define IDM_MACRO_REPEAT_DELAY_LAST 34209
#define IDM_MACRO_REPEAT_RATE_FIRST 34210  // "1 Per Second" ... "20 Per Second"
#define IDM_MACRO_REPEAT_RATE_LAST 34216
// Custom commands: 33200 to 34199 (macros/model/custom_commands.h).

// Layer
#define IDM_MACRO_LAYER_TOGGLE 32837
#define IDM_MACRO_LAYER_SHIFT 32838

// Mouse
#define IDM_MACRO_MOUSE_CLICK 32957
#define IDM_MACRO_MOUSE_DOUBLE_CLICK 32958
#define IDM_MACRO_MOUSE_RIGHT_CLICK 32959
#define IDM_MACRO_MOUSE_CENTER_CLICK 32960
#define IDM_MACRO_SCROLL_UP 32961
#define IDM_MACRO_SCROLL_DOWN 32962
#define IDM_MACRO_MOUSE_BUTTON_4 32965
#define IDM_MACRO_MOUSE_BUTTON_5 32966

// Multimedia
#define IDM_MACRO_MEDIA_STOP 32967
#define IDM_MACRO_MEDIA_PLAY_PAUSE 32968
#define IDM_MACRO_VOLUME_UP 32969
#define IDM_MACRO_VOLUME_DOWN 32970
#define IDM_MACRO_VOLUME_MUTE 32971
#define IDM_MACRO_NEXT_TRACK 32972
#define IDM_MACRO_PREVIOUS_TRACK 32973

// Help
#define IDM_MACRO_HELP 32904
#define IDM_MACRO_WEB_PAGE 32905

// Positions in the menu bar and in the Insert popup that the editor changes.
#define MACRO_MENU_INSERT_POSITION 1
#define MACRO_MENU_BACKLIGHT_POSITION 5
