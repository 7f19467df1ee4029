#pragma once
// Resource and command ids of the key-cap legend editor (read by the resource compiler too, so
// plain defines only). The program's resources hold its menu; its accelerator table is the
// program's one table, and its About box the program's.

#define IDR_LEGEND_EDITOR 145  // the menu and the accelerator table
#define IDD_LEGEND_ABOUT 103

#define IDM_LEGEND_ABOUT 104
#define IDM_LEGEND_EXIT 105
#define IDM_LEGEND_GET_IMAGE 32771
#define IDM_LEGEND_REDO 32774
#define IDM_LEGEND_SELECT_FONT 32779
#define IDM_LEGEND_SELECT_COLOR 32780
#define IDM_LEGEND_PRINT 32792
#define IDM_LEGEND_LOAD_LAYOUT 32793
#define IDM_LEGEND_SAVE_AS 32796
#define IDM_LEGEND_SAVE 32806
#define IDM_LEGEND_UNDO 32809
#define IDM_LEGEND_CUT 32810
#define IDM_LEGEND_COPY 32811
#define IDM_LEGEND_DELETE 32814
#define IDM_LEGEND_PASTE 32815
#define IDM_LEGEND_OPEN 32893
