#pragma once
// Resource ids of the "Add Program Layer" dialog and its finder tool. Plain defines: the
// resource script reads them too.

#define IDD_PROGRAM_LAYER 153
#define IDC_FINDER_CURSOR 149   // the cursor while the finder is dragged
#define IDI_FINDER 150          // the finder tool: a frame with its cross-hair
#define IDI_FINDER_EMPTY 151    // the frame left behind while the cross-hair is dragged

// Dialog items (OK and Cancel are IDOK and IDCANCEL)
#define IDC_FINDER_TOOL 149        // static showing IDI_FINDER
#define IDC_FINDER_EMPTY 152       // static showing IDI_FINDER_EMPTY, at the same place
#define IDC_CHOSEN_PROGRAM 1045    // the name the layer will get
#define IDC_RUNNING_PROGRAMS 1046  // drop-down list of running programs
#define IDC_RECOVER_LAYER 4
