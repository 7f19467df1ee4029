#pragma once
// The window messages the program's parts send one another. Other programs rely on 1027 (a
// second instance wakes the first), so each number is named once, here.

#include <windows.h>

// The tray icon's callback to the hidden main dialog.
constexpr UINT kTrayCallbackMessage = WM_USER + 1;       // 1025
// The device thread's device list changed (to the main dialog).
constexpr UINT kDeviceListChangedMessage = WM_USER + 2;  // 1026
// A second start of the program (to the window of class "OrvaneII_Class").
constexpr UINT kSecondInstanceMessage = WM_USER + 3;     // 1027

// Among the device thread's own windows: the index of a key pressed while a programming dialog
// is open, and a key of the programming window to redraw.
constexpr UINT kProgrammingKeyMessage = WM_USER + 1;     // 1025
constexpr UINT kRedrawKeyMessage = WM_USER + 2;          // 1026

// To the key-cap dialogs: a key of the device pressed and released (wParam: its key id). Not
// 1025 and 1026, which the dialog manager takes as DM_SETDEFID and DM_REPOSITION.
constexpr UINT kKeyCapKeyDownMessage = WM_APP + 0x125;
constexpr UINT kKeyCapKeyUpMessage = WM_APP + 0x126;
