#include "ui/layers/program_layer_window.h"

#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "runtime/device/program_messages.h"
#include "ui/layers/program_layer_dialog.h"
#include "ui/layers/running_programs.h"
#include "ui/programming_window/programming_device.h"
#include "ui/programming_window/programming_menu.h"
#include "ui/programming_window/programming_window.h"
#include "ui/programming_window/programming_window_ids.h"

namespace {

ProgrammingDevice* DeviceOf(MacroContext& context) { return dynamic_cast<ProgrammingDevice*>(context.device); }

HWND WindowOf(MacroContext& context) { return static_cast<HWND>(context.programming.window); }

}  // namespace

HMENU WindowLayerHost::LayerMenu() { return window_ ? GetSubMenu(GetMenu(window_), kLayerPopup) : nullptr; }

bool WindowLayerHost::HasColourLayers() {
  ProgrammingDevice* device = DeviceOf(context_);
  return device && device->Facts().hasColourLayers;
}

std::string WindowLayerHost::ScriptFileName() {
  ProgrammingDevice* device = DeviceOf(context_);
  return device ? device->ScriptFileName() : std::string();
}

std::string WindowLayerHost::TypeFolder() {
  ProgrammingDevice* device = DeviceOf(context_);
  return device ? device->TypeFolder() : std::string();
}

bool WindowLayerHost::MakeFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void WindowLayerHost::ShowDefaultLayer() {
  if (window_) SendMessageA(window_, WM_COMMAND, IDM_PW_GREEN_LAYER, 0);
}

void WindowLayerHost::Redraw() {
  if (window_) PostMessageA(window_, kRedrawKeyMessage, 0, 0);
}

void ProgramLayersFeature::RebuildLayerMenus(MacroContext& context, HWND window) {
  context.programming.exeNames.clear();
  LoadExeNameTable(context.programming.exeNames);
  WindowLayerHost host(context, window);
  ProgramLayers(ProgrammingCallsOf(host.Window()), context, host).RebuildLayerMenus();
}

void ProgramLayersFeature::RemoveAll(MacroContext& context, HWND window) {
  WindowLayerHost host(context, window);
  ProgramLayers(ProgrammingCallsOf(host.Window()), context, host).RemoveAll();
}

void ProgramLayersFeature::ShowDialog(MacroContext& context, HWND window) {
  WindowLayerHost host(context, window);
  ProgramLayers layers(ProgrammingCallsOf(window), context, host);
  ShowProgramLayerDialog(layers, context.programming.exeNames, window);
}

void ProgramLayersFeature::Remove(MacroContext& context, HWND window, int layer) {
  WindowLayerHost host(context, window);
  ProgramLayers(ProgrammingCallsOf(host.Window()), context, host).Remove(layer);
}

void ProgramLayersFeature::RemoveLayerMenus(MacroContext& context) {
  WindowLayerHost host(context, WindowOf(context));
  ProgramLayers(ProgrammingCallsOf(host.Window()), context, host).RemoveMenus();
}

void ProgramLayersFeature::AddLayer(MacroContext& context, const std::string& name, const std::string& program) {
  WindowLayerHost host(context, WindowOf(context));
  ProgramLayers(ProgrammingCallsOf(host.Window()), context, host).BuildLayerMenu(name, program, false);
}
