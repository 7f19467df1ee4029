#pragma once
// The Key Caps menu of the programming window on the device thread: Add (34326) and Remove
// (34327), and the key-cap merge and spacers that the macro model asks for when it builds the
// keypad view.

#include <windows.h>

#include <vector>

#include "ui/key_caps/key_cap_dialogs.h"

class SystemCalls;
struct DeviceRecord;
struct KeyRecord;
struct MacroContext;
class ProgrammingFeatures;

// The commands for the window's context and device, asking the user through `calls`. Nothing
// for a device without report buffers (a script opened without a device has no keys to read).
void AddKeyCaps(SystemCalls& calls, MacroContext& context, DeviceRecord& device, HWND window,
                KeyCapWindow& keyCapWindow);
void RemoveKeyCaps(SystemCalls& calls, MacroContext& context, DeviceRecord& device, HWND window,
                   KeyCapWindow& keyCapWindow);
// The same for the device whose context it is (found in the device table); nothing when there
// is none.
void AddKeyCaps(SystemCalls& calls, MacroContext& context, HWND window, KeyCapWindow& keyCapWindow);
void RemoveKeyCaps(SystemCalls& calls, MacroContext& context, HWND window, KeyCapWindow& keyCapWindow);

// The programming windows as the key caps see them: the input gate and the open dialogs are
// the windows' (process-wide), the editor to cancel is the features'.
class ProgrammingKeyCapWindow : public KeyCapWindow {
 public:
  explicit ProgrammingKeyCapWindow(ProgrammingFeatures& features) : features_(features) {}
  void SetInputEnabled(bool enabled) override;
  void DialogsChanged(HWND detection, HWND removal) override;
  void CancelMacroEditor(MacroContext& context) override;

 private:
  ProgrammingFeatures& features_;
};

// The key caps' part of the programming window's features and of the macro model's events: the
// commands, the spacers' clearing, the routing of the device's keys to the dialogs, the key-cap
// merge and the spacers' views. Over the windows of the features it is made with (which
// outlive it).
class KeyCapsFeature {
 public:
  explicit KeyCapsFeature(ProgrammingFeatures& features) : window_(features) {}

  void Add(MacroContext& context, HWND window);
  void Remove(MacroContext& context, HWND window);
  void ClearSpacer(MacroContext& context, int keyId);
  bool ForwardKey(const MacroContext& context, int keyId, bool pressed) {
    return ForwardKeyToKeyCapDialogs(context, keyId, pressed);
  }

  void ChangeKeyCap(MacroContext& context, const KeyRecord& cap, const std::vector<int>& covered, int kind,
                    bool store);
  void ShowSpacer(MacroContext& context, int keyId);

 private:
  ProgrammingKeyCapWindow window_;
};
