#pragma once
// Resource ids of the key-cap dialogs (templates in key_caps.rc).

#define IDD_KEY_CAP_DETECTION 165
#define IDD_KEY_CAP_REMOVAL 168
#define IDC_KEY_CAP_PROMPT 1170
