#pragma once
// The program layers in the programming window: its Add Program Layer and Remove Layer
// commands, the layers of a script read while it is open, and of New.

#include <windows.h>

#include <string>

#include "ui/layers/program_layers.h"

struct MacroContext;

// The layers' view of one programming window and the device it shows.
class WindowLayerHost : public ProgramLayerHost {
 public:
  WindowLayerHost(MacroContext& context, HWND window) : context_(context), window_(window) {}
  HWND Window() override { return window_; }
  HMENU LayerMenu() override;
  bool HasColourLayers() override;
  std::string ScriptFileName() override;
  std::string TypeFolder() override;
  bool MakeFolder(const std::string& path) override;
  void ShowDefaultLayer() override;
  void Redraw() override;

 private:
  MacroContext& context_;
  HWND window_;
};

// The layers' part of the programming window's features and of the macro model's events (the
// script reader's window side).
class ProgramLayersFeature {
 public:
  // Called once the window is made: the friendly program names are read with it.
  void RebuildLayerMenus(MacroContext& context, HWND window);
  void RemoveAll(MacroContext& context, HWND window);
  void ShowDialog(MacroContext& context, HWND window);
  void Remove(MacroContext& context, HWND window, int layer);

  // A script read while the window is open: its layers leave the menus, and come back (into
  // the lists alone while the window has no menu).
  void RemoveLayerMenus(MacroContext& context);
  void AddLayer(MacroContext& context, const std::string& name, const std::string& program);
};
