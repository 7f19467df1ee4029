#pragma once
// What the programming window reads and changes of the device it shows. The program's side
// works on the device record; tests give one of their own.

#include <string>

struct ProgrammingDeviceFacts {
  bool setUp = false;  // an attached device (not a script opened without one)
  bool hasColourLayers = false;
  bool red = false;  // the colour layer shown
  // Boot mode: the device's macros live in its on-board memory, which is written when the
  // window closes (the record's onboardMacros).
  bool bootMode = false;
  bool programmingRequested = false;
  bool hasProgrammingSwitch = false;
  bool backlightsAvailable = false;
  bool backlightsOn = false;
  bool keyswitchAvailable = false;
  bool keyswitchOn = false;
  int productId = 0;
};

class ProgrammingDevice {
 public:
  virtual ~ProgrammingDevice() = default;

  virtual ProgrammingDeviceFacts Facts() = 0;
  virtual void SetRed(bool red) = 0;
  virtual void SetBootMode(bool on) = 0;
  virtual void SetProgrammingRequested(bool on) = 0;
  // Switches the backlights through the device's output reports.
  virtual void SetBacklights(bool on) = 0;
  virtual void SetKeyswitchMode(bool on) = 0;
  // The layer LEDs as given, for the blink; the colour layer stays as it is.
  virtual void ShowLeds(bool red, bool green) = 0;
  // Where the window writes the device's script ("" when the device type has no folder), and
  // the folder the File dialogs start in.
  virtual std::string ScriptFileName() = 0;
  virtual std::string TypeFolder() = 0;
};
