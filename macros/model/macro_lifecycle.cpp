#include "macros/model/macro_lifecycle.h"

#include <chrono>
#include <string>
#include <thread>

#include "macros/model/key_caps.h"
#include "macros/model/layout_file.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "macros/model/script_reader.h"
#include "macros/model/script_writer.h"
#include "platform/base/file_access.h"

namespace {

constexpr std::string_view kDeviceSpecificStart = "\n\n/******BEGINNING OF DEVICE SPECIFIC******/\n";
constexpr std::string_view kToggleStart = "void ToggleLedLayer()\n";
constexpr auto kBlinkAnswerWait = std::chrono::milliseconds(2000);

// The text without the section copied from "Device Specific.oxs", in line-feed form.
std::string WithoutDeviceSpecific(std::string_view text) {
  std::string plain = FromCrLf(text);
  const std::size_t start = plain.find(kDeviceSpecificStart);
  if (start == std::string::npos) return plain;
  const std::size_t end = plain.find(kToggleStart, start);
  if (end == std::string::npos) return plain;
  return plain.erase(start, end - start);
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

}  // namespace

bool RegenerationLosesNothing(std::string_view file, std::string_view regenerated) {
  return WithoutDeviceSpecific(file) == WithoutDeviceSpecific(regenerated);
}

bool RegenerateScript(MacroContext& context, DeviceEffects effects) {
  if (!context.device) return false;
  const std::string path = context.device->ScriptPath();
  if (path.empty() || IsPlainScriptPath(path)) return false;
  std::string file;
  if (MacroFiles(context).Read(path, file, 64u << 20) != FileAccess::ReadResult::Ok) return false;
  ReadScriptText(context, file, effects);
  RebuildKeyCaps(context);
  // The file's own settings go back as they were: the device is not asked.
  DeviceScriptSettings settings = context.device->Settings();
  if (context.scriptBacklights) settings.backlightsOn = *context.scriptBacklights;
  if (context.scriptKeyswitch) settings.keyswitchOn = *context.scriptKeyswitch;
  const std::string regenerated = ScriptFileBytes(context, settings);
  if (!IsBlank(file) && (regenerated == file || !RegenerationLosesNothing(file, regenerated))) return false;
  return WriteScriptFile(context, path, settings);
}

int TakeBlinkPeriod(std::atomic<int>& period) {
  const int p = period.load();
  if (p >= 0) return p;
  period.store(0);
  return -1;
}

void CloseMacroContext(std::unique_ptr<MacroContext> owned, bool regenerateOnly) {
  if (!owned) return;
  MacroContext& c = *owned;
  MacroModelEvents& events = c.events;
  MacroDevice* device = c.device;
  const bool program = !regenerateOnly && device;

  // 1. The on-board image, while the records still hold the macros.
  bool onboardWrite = false;
  if (device && device->KeepsOnboardMacros() && !c.keys.empty())
    onboardWrite = events.BuildOnboardImage(c);
  // 2. The worker is asked to stop; the device leaves programming.
  c.blinkPeriod.store(-1);
  if (program) device->EndProgramming();
  // 3. The window's state.
  if (!regenerateOnly) events.ReleaseWindowState(c);
  c.layerNames.clear();
  c.layerPrograms.clear();
  c.customCommandSteps.clear();
  // 4. The records, with every picture they hold.
  ClearKeyFunctions(c.functions);
  c.keys.clear();
  c.keyCaps.clear();
  c.layerMap.clear();
  FreeViewImages(c.view);
  events.UnloadPlugin(c);
  // 5. The worker's answer, for a bounded time.
  if (!regenerateOnly && c.blinkWorker.load()) {
    const auto until = std::chrono::steady_clock::now() + kBlinkAnswerWait;
    while (c.blinkPeriod.load() == -1 && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // 6. The on-board write.
  if (onboardWrite) events.WriteOnboardImage(c);
  // 7. The device thread sees the flags; the context goes.
  if (program) device->Wake();
  if (!regenerateOnly) events.RemoveMacroContext(c);
}
