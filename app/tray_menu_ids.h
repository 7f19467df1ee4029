#pragma once
// The command ids of the tray icon's menu.

#include "app/resource.h"

// The caption items are owner-drawn: their item data points at their text, which the main
// dialog measures and draws (WM_MEASUREITEM, WM_DRAWITEM).
constexpr unsigned kTrayCaptionId = 0xFFFE;
constexpr unsigned kTrayVersionId = 0xFFFF;
constexpr unsigned kTrayExitId = IDM_EXIT;
constexpr unsigned kTrayFirstDeviceId = 32853;
