#pragma once
// The macro model's events as a test sets them: each one it fills in is called, every other one
// answers as the do-nothing events do.

#include <functional>
#include <string>
#include <vector>

#include "macros/model/macro_context.h"
#include "macros/model/macro_model_events.h"

namespace testsupport {

struct FakeModelEvents : MacroModelEvents {
  std::function<void(MacroContext&, int)> drawKey;
  std::function<void(MacroContext&, const KeyRecord&, const std::vector<int>&, int, bool)> changeKeyCap;
  std::function<void(MacroContext&, int)> showSpacer;
  std::function<void(MacroContext&)> removeLayerMenus;
  std::function<void(MacroContext&, const std::string&, const std::string&)> addLayer;
  std::function<void(MacroContext&, bool)> checkKeyswitch;
  std::function<void(MacroContext&)> releaseWindowState;
  std::function<void(MacroContext&)> unloadPlugin;
  std::function<void(MacroContext&)> removeMacroContext;
  std::function<bool(MacroContext&)> buildOnboardImage;
  std::function<void(MacroContext&)> writeOnboardImage;
  std::function<void(MacroContext&)> startNewLayout;

  void DrawKey(MacroContext& c, int index) override {
    if (drawKey) drawKey(c, index);
  }
  void ChangeKeyCap(MacroContext& c, const KeyRecord& cap, const std::vector<int>& covered, int kind,
                    bool store) override {
    if (changeKeyCap) changeKeyCap(c, cap, covered, kind, store);
  }
  void ShowSpacer(MacroContext& c, int keyId) override {
    if (showSpacer)
      showSpacer(c, keyId);
    else
      MacroModelEvents::ShowSpacer(c, keyId);
  }
  void RemoveLayerMenus(MacroContext& c) override {
    if (removeLayerMenus) removeLayerMenus(c);
  }
  void AddLayer(MacroContext& c, const std::string& name, const std::string& program) override {
    if (addLayer)
      addLayer(c, name, program);
    else
      MacroModelEvents::AddLayer(c, name, program);
  }
  void CheckKeyswitch(MacroContext& c, bool on) override {
    if (checkKeyswitch) checkKeyswitch(c, on);
  }
  void ReleaseWindowState(MacroContext& c) override {
    if (releaseWindowState) releaseWindowState(c);
  }
  void UnloadPlugin(MacroContext& c) override {
    if (unloadPlugin) unloadPlugin(c);
  }
  void RemoveMacroContext(MacroContext& c) override {
    if (removeMacroContext) removeMacroContext(c);
  }
  bool BuildOnboardImage(MacroContext& c) override { return buildOnboardImage && buildOnboardImage(c); }
  void WriteOnboardImage(MacroContext& c) override {
    if (writeOnboardImage) writeOnboardImage(c);
  }
  void StartNewLayout(MacroContext& c) override {
    if (startNewLayout) startNewLayout(c);
  }
};

}  // namespace testsupport
