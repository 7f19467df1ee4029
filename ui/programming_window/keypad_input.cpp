#include "ui/programming_window/keypad_input.h"

#include "macros/model/macro_context.h"
#include "ui/programming_window/layer_choice.h"
#include "ui/programming_window/programming_window_ids.h"

namespace {

int IndexOf(const MacroContext& context, int keyId) {
  return keyId == kNoKeyId ? -1 : FindKeyIndex(context.keys, keyId);
}

// The cap a key lies under, or -1 (only a layout with key caps has covered keys).
int CapOf(const MacroContext& context, int keyIndex) {
  if (context.keyCaps.empty() || keyIndex < 0) return -1;
  const KeyRecord& key = context.keys[keyIndex];
  if (key.capKind != kCoveredByCap || key.pairedId == 0) return -1;
  return FindKeyIndex(context.keys, key.pairedId);
}

}  // namespace

void SetKeyState(MacroContext& context, int keyIndex, int state, KeypadEffects& effects) {
  if (keyIndex < 0 || keyIndex >= static_cast<int>(context.keys.size())) return;
  KeyRecord& key = context.keys[keyIndex];
  if (key.state == state) return;
  key.state = state;
  effects.dirty.push_back(PixelsOf(key.key));
}

void SetLedState(MacroContext& context, int ledIndex, int state, KeypadEffects& effects) {
  if (ledIndex < 0 || ledIndex >= static_cast<int>(context.leds.size())) return;
  LayoutLed& led = context.leds[ledIndex];
  if (led.state == state) return;
  led.state = state;
  effects.dirty.push_back(PixelsOf(led));
}

KeypadEffects MouseMoved(MacroContext& c, float x, float y) {
  KeypadEffects e;
  const int key = KeyFromPoint(x, y, c);
  const int pressed = IndexOf(c, c.pressedKeyId);
  const int hot = IndexOf(c, c.hotKeyId);
  if (pressed >= 0) SetKeyState(c, pressed, key == pressed ? kStatePressed : kStateOver, e);
  if (key < 0) {
    if (hot >= 0 && c.keys[hot].state != kStateNormal && pressed < 0) SetKeyState(c, hot, kStateNormal, e);
  } else {
    if (hot < 0) {
      SetKeyState(c, key, kStateOver, e);
    } else if (c.keys[key].state == kStateNormal && pressed < 0) {
      SetKeyState(c, hot, kStateNormal, e);
      SetKeyState(c, key, kStateOver, e);
    }
    c.hotKeyId = c.keys[key].keyId;
  }

  const int led = LedFromPoint(x, y, c);
  if (led >= 0) {
    if (led != c.view.hotLed) {
      SetLedState(c, c.view.hotLed, kStateNormal, e);
      c.view.hotLed = led;
      SetLedState(c, led, kStateOver, e);
    }
  } else if (c.view.hotLed >= 0) {
    SetLedState(c, c.view.hotLed, kStateNormal, e);
    c.view.hotLed = -1;
  }
  return e;
}

KeypadEffects MousePressed(MacroContext& c, float x, float y, bool ctrlAndShift) {
  KeypadEffects e;
  const int key = KeyFromPoint(x, y, c);
  c.pressedKeyId = key >= 0 ? c.keys[key].keyId : kNoKeyId;
  if (key >= 0) {
    const int hot = IndexOf(c, c.hotKeyId);
    if (hot != key) SetKeyState(c, hot, kStateNormal, e);
    c.hotKeyId = c.keys[key].keyId;
    if (ctrlAndShift) {
      e.command = IDM_PW_CTRL_SHIFT_CLICK;
      return e;
    }
    SetKeyState(c, key, kStatePressed, e);
  }
  const int led = LedFromPoint(x, y, c);
  if (led >= 0) {
    if (led != c.view.hotLed) SetLedState(c, c.view.hotLed, kStateNormal, e);
    c.view.hotLed = led;
    SetLedState(c, led, kStatePressed, e);
  }
  return e;
}

KeypadEffects MouseReleased(MacroContext& c, float x, float y, bool hasColourLayers, bool red,
                            int layerCommand) {
  KeypadEffects e;
  const int key = KeyFromPoint(x, y, c);
  const int pressed = IndexOf(c, c.pressedKeyId);
  if (key < 0) {
    SetKeyState(c, pressed, kStateNormal, e);
    c.pressedKeyId = kNoKeyId;
  } else if (pressed >= 0) {
    if (pressed == key && c.hotKeyId == c.pressedKeyId) {
      SetKeyState(c, key, kStateOver, e);
      e.toggleEditorKey = key;
    } else {
      SetKeyState(c, pressed, kStateNormal, e);
      SetKeyState(c, key, kStateOver, e);
    }
    // The click is over: a key left marked as pressed would show pressed under a plain hover.
    c.pressedKeyId = kNoKeyId;
    c.hotKeyId = c.keys[key].keyId;
  }

  const int led = LedFromPoint(x, y, c);
  if (led >= 0) {
    SetLedState(c, led, kStateOver, e);
    const LayoutLed& l = c.leds[led];
    // A device without colour layers has only one colour to show.
    if (led == c.view.hotLed && l.indicator && l.red != red && hasColourLayers)
      e.command = LedClickCommand(layerCommand, l.red);
  } else if (c.view.hotLed >= 0) {
    SetLedState(c, c.view.hotLed, kStateNormal, e);
  }
  return e;
}

KeypadEffects DeviceKeyPressed(MacroContext& c, int keyId, bool editorOpen) {
  KeypadEffects e;
  int index = IndexOf(c, keyId);
  if (index >= 0 && c.keys[index].capKind == kSpacerKey) return e;
  if (const int cap = CapOf(c, index); cap >= 0) {
    if (++c.keys[cap].pressCount > 1) return e;
    index = cap;
  }
  if (index < 0) return e;
  const int hot = IndexOf(c, c.hotKeyId);
  if (editorOpen && hot >= 0 && hot != index) e.closeEditorKey = hot;
  SetKeyState(c, hot, kStateNormal, e);
  c.hotKeyId = c.keys[index].keyId;
  SetKeyState(c, index, kStateOver, e);
  e.toggleEditorKey = index;
  return e;
}

KeypadEffects DeviceKeyReleased(MacroContext& c, int keyId) {
  KeypadEffects e;
  if (const int cap = CapOf(c, IndexOf(c, keyId)); cap >= 0 && c.keys[cap].pressCount > 0)
    --c.keys[cap].pressCount;
  return e;
}
