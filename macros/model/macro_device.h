#pragma once
// What the macro model and its editor need of the device they program: the settings the script
// file carries, the files of its device type folder, and its programming session. The device
// layer above implements it over its device record; tests give one of their own.

#include <cstdint>
#include <string>

struct DeviceScriptSettings {
  std::uint8_t greenLedMask = 0x40;
  std::uint8_t redLedMask = 0x80;
  bool backlightsAvailable = false;
  bool backlightsOn = false;
  bool backlightStateKnown = false;  // set since the device was attached
  bool keyswitchAvailable = false;
  bool keyswitchOn = false;
  int unitId = 0;
};

class MacroDevice {
 public:
  virtual ~MacroDevice() = default;

  virtual DeviceScriptSettings Settings() const = 0;
  // Switches the device's backlights and remembers the state (as set since it was attached).
  virtual void SetBacklights(bool on) = 0;
  virtual void SetKeyswitchMode(bool on) = 0;
  // The device keeps its macros in on-board memory.
  virtual bool KeepsOnboardMacros() const = 0;
  // Programming has ended: the device is no longer being programmed, has no programming
  // window or shown layer, and is to be rebuilt from its new script.
  virtual void EndProgramming() = 0;
  // Wakes the device thread for the device, so that it sees the flags.
  virtual void Wake() = 0;

  // A file of the device type folder, whole, with the path it was read from; false when it
  // cannot be read.
  virtual bool ReadDeviceFile(const std::string& name, std::string& text, std::string& path) = 0;
  // The path of a file of the device type folder; false when it does not exist.
  virtual bool ResolveDeviceFile(const std::string& name, std::wstring& path) = 0;
  // A picture of the keypad view: the device type folder, then the layout's folder, then the
  // "Button Images" folder.
  virtual bool ResolveButtonImage(const std::string& layoutFolder, const std::string& name,
                                  std::wstring& path) = 0;
  // The "Button Images" folder beside the device type folders, with its backslash.
  virtual std::string ButtonImagesFolder() = 0;
  // The name the device type's description gives; false when the file cannot be read.
  virtual bool DeviceName(std::string& name) = 0;
  // The device's script file and its folder (without a final backslash).
  virtual std::string ScriptPath() = 0;
  virtual std::string ScriptFolder() = 0;
  // The script file of the device's own unit, whether it exists yet or not: where the editor's
  // OK and a layout made anew for the device go (the device type's shared script is never
  // written).
  virtual std::string OwnScriptPath() { return ScriptPath(); }

  // The programming session, as the "Macro Input" editor asks for it. A device that is in none
  // (a layout regenerated, a test's) keeps these answers: the green layer, no window, nothing
  // pending, still attached.
  // The colour layer the device shows is the red one.
  virtual bool RedLayer() const { return false; }
  // The device's programming window (an HWND), or null.
  virtual void* ProgrammingWindow() const { return nullptr; }
  // A pending key is dropped and the device thread asked, through a free request slot, to look
  // at the programming switch again.
  virtual void HandOverPendingKey() {}
  // The keypad was unplugged: nobody confirmed what its open editor holds.
  virtual bool Removed() const { return false; }
};
