#pragma once
// The program layers of a programming window: adding one (from the "Add Program Layer"
// dialog, or again after a script was read), removing one with a backup of its macros,
// recovering one from such a backup, and removing them all for a new layout. The context's
// layer lists and the window's Layer menu change together, and the device's script is written.

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/base/message_box.h"
#include "ui/layers/layer_list.h"

class SystemCalls;
struct MacroContext;

// What the layers need of the programming window that shows them.
class ProgramLayerHost {
 public:
  virtual ~ProgramLayerHost() = default;
  // The owner of the questions and file dialogs.
  virtual HWND Window() = 0;
  // The window's Layer menu.
  virtual HMENU LayerMenu() = 0;
  virtual bool HasColourLayers() = 0;
  // The device's script file ("" when the device type has no folder), and the device type
  // folder, where the "Layer Backup" folder is made.
  virtual std::string ScriptFileName() = 0;
  virtual std::string TypeFolder() = 0;
  // Makes the folder when it is missing; false when it cannot be there.
  virtual bool MakeFolder(const std::string& path) = 0;
  // The window shows the default layer on green, with the Layer menu's texts reset.
  virtual void ShowDefaultLayer() = 0;
  // The keypad view is drawn anew (macros came back).
  virtual void Redraw() = 0;
};

class ProgramLayers {
 public:
  // The questions, the file dialog and the backup's date go through `calls`.
  ProgramLayers(SystemCalls& calls, MacroContext& context, ProgramLayerHost& host)
      : calls_(calls), c_(context), host_(host) {}

  // One layer into the lists and the menus ("-" in the name become blanks); with write, the
  // device's script is written. Nothing happens for a name that is refused.
  LayerRefusal BuildLayerMenu(std::string_view name, const std::string& exe, bool write = true);
  // Every layer of the context's layer map, after the window is made or a script read. The
  // lists are empty before; the script is not written (it was just read).
  void RebuildLayerMenus();
  // The menus of every layer go; the lists stay (the script reader empties them itself).
  void RemoveMenus();
  // Every layer leaves the menus, the lists and the layer map, without a question or backup.
  void RemoveAll();
  // The Remove Layer command of layer n: asks, backs the layer's macros up in the "Layer
  // Backup" folder, removes them and the layer. False when nothing was removed.
  bool Remove(int layer);
  // Recover Layer from a backup file: its layer is added with its macros. False when nothing
  // was recovered.
  bool Recover(const std::string& backupPath);
  // Asks for the backup file first (Cancel: false).
  bool RecoverChosenFile();

  // Tells the user why a layer was not added (nothing for Exists and Empty).
  void TellRefusal(LayerRefusal refusal, std::string_view name);

 private:
  void WriteScript();
  BoxAnswer Tell(const std::string& text, const char* caption, BoxButtons buttons, BoxIcon icon);

  SystemCalls& calls_;
  MacroContext& c_;
  ProgramLayerHost& host_;
};
