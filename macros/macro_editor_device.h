#pragma once
// What the "Macro Input" editor needs of the device beyond the macro model's view of it: the
// colour layer it shows, the programming window that owns the editor, the unit's own script
// file that OK writes, the key that RecordSingleKey left to be handed over once the editor has
// closed, and whether the keypad was unplugged. A context's device offers it when it derives
// from this too (the program's devices do); without it the editor works on the green layer,
// without an owner, writes the script the device reads, and hands nothing over.

#include <string>

class MacroEditorDevice {
 public:
  virtual ~MacroEditorDevice() = default;

  virtual bool RedLayer() const = 0;
  // The device's programming window (an HWND), or null.
  virtual void* ProgrammingWindow() const = 0;
  // "Script_<unit id>.oxs" of the device's folder, whether or not it exists yet (the device may
  // run its type's shared "Script.oxs" until then); empty when the folder is not known.
  virtual std::string ScriptFileName() = 0;
  // A pending key is dropped and the device thread asked, through a free request slot, to look
  // at the programming switch again.
  virtual void HandOverPendingKey() = 0;
  // The keypad was unplugged: nobody confirmed what its open editor holds.
  virtual bool Removed() const = 0;
};
