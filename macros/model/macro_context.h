#pragma once
// The whole layout of a keypad while it is being programmed: its key functions and the name
// tree over them, the key records with their macro entries, the special key sets, key caps,
// program layers and custom-command includes. Made when programming starts (or for one
// regeneration), owned by its maker, and belonging to the device thread.
//
// Nothing outside holds a pointer into the key records or their entries across a change:
// keys are held by id, and the entry being edited by the context's current selectors.

#include <atomic>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "macros/model/key_functions.h"
#include "macros/model/key_records.h"
#include "macros/model/macro_model_events.h"
#include "macros/model/macro_records.h"
#include "macros/model/programming_state.h"
#include "macros/model/view_images.h"

class MacroDevice;
class FileAccess;

inline constexpr int kNoKeyId = -1;

struct MacroContext {
  // The entry being edited: key id and the three selectors (a program layer by name or token).
  int currentKey = 238;
  KeyEvent currentEvent = KeyEvent::Down;
  LayerColour currentColour = LayerColour::Green;
  std::string currentProgram;

  std::set<int> spacers;
  std::vector<KeyCapDefinition> keyCaps;
  KeyFunctionList functions;
  std::vector<KeyRecord> keys;
  std::vector<LayoutLed> leds;
  std::map<std::string, std::string> layerMap;  // layer name -> program file, from the file

  int hotKeyId = kNoKeyId;      // the key under the mouse
  int pressedKeyId = kNoKeyId;  // the key held down with the mouse
  MacroDevice* device = nullptr;  // not owned
  FileAccess* files = nullptr;    // not owned; null: the program's (MacroFiles)
  // Whoever shows the context hears of its changes (not owned; it outlives the context).
  MacroModelEvents& events = NoMacroModelEvents();

  // The keypad view.
  KeypadViewImages view;
  std::string layoutFolder;  // the layout file's folder, with its backslash
  bool noKeyCap = false;     // the layout takes no key caps
  bool windowOpen = false;   // a programming window shows this context
  ProgrammingState programming;

  // The programming window's program layer: 0 and 1 the default layer (on green and on red),
  // 2 + n the n-th of layerNames.
  int programLayer = 0;
  bool hiddenMode = false;  // the window, and with it the editor, is not shown

  std::vector<std::string> layerNames;     // parallel to layerPrograms
  std::vector<std::string> layerPrograms;
  std::vector<std::string> customCommandSteps;  // "[CC: ...]" of the menu items, in id order

  int autoRepeatDelay = 500;
  int autoRepeatRate = 50;
  std::set<int> toggleKeys;
  std::set<int> shiftKeys;
  // Written by the window and its LED blink worker: -1 asks the worker to stop, which answers 0.
  std::atomic<int> blinkPeriod{0};
  std::atomic<bool> blinkWorker{false};  // the window started one
  std::wstring imagesFolder;  // of the key-cap pictures
  bool editingEntry = false;  // the editor has the current entry open

  // The backlight and keyswitch settings of the file last read, when it named them.
  std::optional<bool> scriptBacklights;
  std::optional<bool> scriptKeyswitch;

  std::map<int, std::string> includes;  // custom-command id -> include file
  int customCommandCount = 0;            // the highest id in use
  std::vector<int> removedCommandIds;    // taken out of macros while editing, not renumbered yet

  MacroContext() = default;
  explicit MacroContext(MacroModelEvents& events) : events(events) {}
  MacroContext(const MacroContext&) = delete;
  MacroContext& operator=(const MacroContext&) = delete;
};

// The entry of the current key for the current selectors (the program layer as its token),
// appended to the key's record when it has none yet. Null when no key record has the current
// key id: every caller checks. The pointer is good until the key records or their entries
// change.
MacroEntry* FindMacroEntry(MacroContext& context);

// Blanks (only the blank character) removed at both ends.
std::wstring TrimWide(std::wstring_view text);

// Asks the programming window to draw every key of the spacer set in its normal state.
void RedrawAllKeys(MacroContext& context);
