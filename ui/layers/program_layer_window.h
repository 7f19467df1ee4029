#pragma once
// The program layers in the programming window: its Add Program Layer and Remove Layer
// commands, the layers of a script read while it is open, and of New. Once, at start-up.

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

// Fills the programming window's layer extensions and the script reader's window side.
void InstallProgramLayers();
