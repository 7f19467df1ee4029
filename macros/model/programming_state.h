#pragma once
// What the programming window keeps in its macro context besides the keypad view and the
// program layer shown: the File menu's state, the layer command, the on-board flag of its
// opening, the exe names of program layers and the plug-in libraries it loaded.

#include <map>
#include <string>
#include <vector>

#include "macros/model/macro_records.h"

struct ProgrammingState {
  void* window = nullptr;  // the programming window (its handle) while it is open
  // Set by changes the function list does not show; the layout also counts as modified when
  // its functions differ from savedFunctions, those of the last file saved or opened.
  bool modified = false;
  std::vector<KeyFunction> savedFunctions;
  std::string currentPath;    // of the last Save As or Open; "" for none
  std::string currentFolder;  // the folder of currentPath
  // The layer command last chosen: 0, green 32897, red 32898, or one of the program layers'.
  int currentLayerCommand = 0;
  // The window was opened for the device's on-board macros (the tray's request after the
  // device's mode switch, which read its on-board memory): only then may they be written.
  bool onboardProgramming = false;
  std::map<std::string, std::string> exeNames;  // exe (lower case) -> display name
  // The per-key plug-in libraries the window loaded, each once; given back when it closes.
  std::vector<void*> pluginLibraries;
};
