#pragma once
// Resource ids of the main program.

// The windows of ui/ and macros/ name their own.
#include "macros/macro_editor_ids.h"
#include "macros/onboard_memory_ids.h"
#include "ui/key_caps/key_caps_ids.h"
#include "ui/layers/program_layer_ids.h"
#include "ui/legend_editor/legend_editor_ids.h"
#include "ui/programming_window/programming_window_ids.h"
#include "ui/setup_wizard/setup_wizard_ids.h"

#define IDS_TITLE 103
#define IDS_WINDOW_CLASS 109
#define IDI_ORVANE 107
#define IDD_ABOUT 103
#define IDD_MAIN 129
#define IDD_PRESS_KEY_BLINKING 169
#define IDD_LOAD_NEW_SCRIPT 171
#define IDD_PRESS_KEY_PLUGGED 172
#define IDD_DUPLICATE_UNIT_ID 177
// The program's one accelerator table, which the legend editor's keys are.
#define IDR_ACCELERATORS IDR_LEGEND_EDITOR

// Hidden main dialog
#define IDC_ATTACHED_DEVICES 1001
#define IDC_SCAN_FOR_DEVICES 1002
#define IDC_CLIPBOARD_COUNTER 1003
#define IDC_SEND_PACKET 1004
#define IDC_CLIPBOARD_FORMAT 1005
#define IDC_READ_PACKET 1006
#define IDC_INVISIBLE 1017
#define IDC_VISIBLE 1018

// About dialog
#define IDC_ABOUT_PRODUCT_ID 1053

// Duplicate Unit ID Error
#define IDC_LEARN_MORE 1057

// Load a New Script
#define IDC_SCRIPT_DEVICE 1001

// Commands
#define IDM_VISIBLE 32827
#define IDM_FORWARD_TO_MODELESS 32830
#define IDM_INVISIBLE 32832
#define IDM_EXIT 32851
