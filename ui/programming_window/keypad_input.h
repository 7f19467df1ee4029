#pragma once
// The keypad view's answers to the mouse and to the device's keys, as changes of the keys' and
// LEDs' visual states and the actions that follow. The view repaints what changed and carries
// the actions out; nothing here knows a window.

#include <vector>

#include "ui/programming_window/keypad_geometry.h"

struct MacroContext;

struct KeypadEffects {
  std::vector<PixelRect> dirty;  // what changed, to redraw
  // First the editor of this key (by index) is toggled (closing it), then that of the other.
  int closeEditorKey = -1;
  int toggleEditorKey = -1;
  int command = 0;  // a command the window sends itself; 0 for none

  bool Changed() const { return !dirty.empty(); }
};

// Visual states; a change is noted in the effects.
void SetKeyState(MacroContext& context, int keyIndex, int state, KeypadEffects& effects);
void SetLedState(MacroContext& context, int ledIndex, int state, KeypadEffects& effects);

// The mouse over the view (view coordinates).
KeypadEffects MouseMoved(MacroContext& context, float x, float y);
// With Ctrl and Shift held the press only sends IDM_PW_CTRL_SHIFT_CLICK.
KeypadEffects MousePressed(MacroContext& context, float x, float y, bool ctrlAndShift);
// A click released on the key it pressed opens that key's editor. A click on the indicator LED
// of the other colour switches to that colour: only on a device with colour layers, whose
// colour is `red` and whose last layer command is `layerCommand`.
KeypadEffects MouseReleased(MacroContext& context, float x, float y, bool hasColourLayers, bool red,
                            int layerCommand);

// A key of the device went down while the window is open (the key-cap dialogs have had their
// turn). A spacer is ignored; a key under a cap counts on the cap and stands for it, and only
// the first of the cap's keys held down counts. The key becomes the selected key and its
// editor is toggled; an editor open for another key is closed first.
KeypadEffects DeviceKeyPressed(MacroContext& context, int keyId, bool editorOpen);
// A key of the device went up: a key under a cap counts off the cap (never below 0).
KeypadEffects DeviceKeyReleased(MacroContext& context, int keyId);
