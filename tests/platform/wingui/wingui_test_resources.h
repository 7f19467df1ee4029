#pragma once
// Resource ids of the window layer's tests.

#define IDD_PROBE 100
#define IDD_CLASS_PROBE 101
#define IDM_PROBE 200
#define IDR_PROBE_KEYS 201

#define IDC_FIRST_EDIT 1001
#define IDC_SECOND_EDIT 1002
#define IDC_CHECK 1003
#define IDC_RADIO_A 1004
#define IDC_RADIO_B 1005
#define IDC_COMBO 1006
#define IDC_LIST 1007
#define IDC_RICH 1008
#define IDC_OWNER_LIST 1009
#define IDC_LIST_VIEW 1010
#define IDC_MULTI_LIST 1011

#define IDM_PROBE_ONE 40001
#define IDM_PROBE_TWO 40002
#define IDM_PROBE_INNER 40003
#define IDM_PROBE_KEY 40010
