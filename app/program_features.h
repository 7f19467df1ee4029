#pragma once
// The program's windows put together: what its programming windows are opened with (the
// editor, layers, key caps, legend editor, on-board memory, About box and script editor) and
// the macro model's events of their contexts, each handed to the piece that does it.

#include <string>
#include <vector>

#include "ui/key_caps/key_caps.h"
#include "ui/layers/program_layer_window.h"
#include "ui/programming_window/programming_features.h"
#include "ui/programming_window/programming_window.h"

class SystemCalls;

class ProgramFeatures final : public ProgrammingFeatures, public ProgrammingWindowEvents {
 public:
  ProgramFeatures() = default;
  ProgramFeatures(const ProgramFeatures&) = delete;
  ProgramFeatures& operator=(const ProgramFeatures&) = delete;

  // ProgrammingFeatures
  void ToggleMacroEditor(MacroContext& context, int keyIndex) override;
  bool RegisterMacroEditorClass() override;
  void CancelMacroEditor(MacroContext& context) override;
  void RebuildLayerMenus(MacroContext& context, HWND window) override { layers_.RebuildLayerMenus(context, window); }
  void RemoveAllProgramLayers(MacroContext& context, HWND window) override { layers_.RemoveAll(context, window); }
  void ShowProgramLayerDialog(MacroContext& context, HWND window) override { layers_.ShowDialog(context, window); }
  void RemoveProgramLayer(MacroContext& context, HWND window, int layer) override {
    layers_.Remove(context, window, layer);
  }
  void AddKeyCap(MacroContext& context, HWND window) override { keyCaps_.Add(context, window); }
  void RemoveKeyCap(MacroContext& context, HWND window) override { keyCaps_.Remove(context, window); }
  void ClearKeySpacer(MacroContext& context, int keyId) override { keyCaps_.ClearSpacer(context, keyId); }
  bool ForwardKeyToKeyCapDialogs(const MacroContext& context, int keyId, bool pressed) override {
    return keyCaps_.ForwardKey(context, keyId, pressed);
  }
  void OpenLegendMaker(MacroContext& context, HWND window) override;
  bool ImportOnboardMacros(MacroContext& context, DeviceRecord& device) override;
  void ShowAbout(HWND owner, int productId) override;
  void ReleaseUnsetDevice(DeviceRecord& device) override;

  // MacroModelEvents (the key painter and the keyswitch mark are the window's own)
  void ChangeKeyCap(MacroContext& context, const KeyRecord& cap, const std::vector<int>& covered, int kind,
                    bool store) override {
    keyCaps_.ChangeKeyCap(context, cap, covered, kind, store);
  }
  void ShowSpacer(MacroContext& context, int keyId) override { keyCaps_.ShowSpacer(context, keyId); }
  void RemoveLayerMenus(MacroContext& context) override { layers_.RemoveLayerMenus(context); }
  void AddLayer(MacroContext& context, const std::string& name, const std::string& program) override {
    layers_.AddLayer(context, name, program);
  }
  void UnloadPlugin(MacroContext& context) override;
  bool BuildOnboardImage(MacroContext& context) override;
  void WriteOnboardImage(MacroContext& context) override;
  void StartNewLayout(MacroContext& context) override;

  // What the script editor opens for a script chosen from a file: a programming window that
  // owns the record.
  void OpenWindowForScript(SystemCalls& calls, std::unique_ptr<DeviceRecord> device);

 private:
  ProgramLayersFeature layers_;
  KeyCapsFeature keyCaps_{*this};
};

// The macros' own registries: their file access, and the editor's offer of a key to the
// plug-ins before it opens. Once, at start-up.
void InstallMacroHooks();
