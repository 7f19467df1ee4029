#include "ui/programming_window/programming_controller.h"

#include "macros/model/key_caps.h"
#include "macros/model/key_functions.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "macros/model/script_reader.h"
#include "macros/model/script_writer.h"
#include "macros/script_file_write.h"
#include "platform/base/registry_values.h"
#include "platform/base/system_calls.h"
#include "runtime/device/device_folders.h"
#include "ui/programming_window/dropped_files.h"
#include "ui/programming_window/keypad_geometry.h"
#include "ui/programming_window/layer_choice.h"
#include "ui/programming_window/programming_features.h"
#include "ui/programming_window/programming_menu.h"
#include "ui/programming_window/programming_window_ids.h"
#include "ui/programming_window/script_file_names.h"

namespace {

const char kInvisibleValue[] = "Invisible";

const char kHiddenModeQuestion[] =
    "In hidden mode, you can program macros without viewing the programming window by switching "
    "the programming switch up. You can restore the programming window by selecting the Qpad "
    "device from the taskbar icon menu.  To turn off hidden mode, restore the programming window "
    "through the taskbar icon menu and then uncheck the \"Hidden Mode\" option in the View "
    "Menu.\n\nWould you like to activate hidden mode?";
const char kKeyswitchQuestion[] =
    "In keyswitch mode, the programming window can only be accessed by rotating the key to the "
    "\"1\" position. This allows you to limit programming your device to individuals who have "
    "the correct key.  You can turn keyswitch mode off by opening the programming window through "
    "keyswitch position \"1\" and then unchecking the \"Keyswitch Mode\" option in the View "
    "Menu.\n\nWould you like to activate keyswitch mode now?";

OpenFileQuestion ScriptQuestion(HWND owner, const char* title, const std::string& folder) {
  OpenFileQuestion q;
  q.owner = owner;
  q.title = title;
  q.filterName = "Orvane Script (*.oxs)";
  q.filterPattern = "*.oxs";
  q.defaultExtension = "oxs";
  q.initialFolder = folder;
  return q;
}

}  // namespace

bool HiddenModeSetting(SystemCalls& calls) {
  return ReadMachineDword(calls, kOrvaneRegistryKey, kInvisibleValue).value_or(0) != 0;
}

ProgrammingController::ProgrammingController(SystemCalls& calls, MacroContext& context, ProgrammingDevice& device,
                                             ProgrammingWindowPort& port, ProgrammingFeatures& features)
    : calls_(calls), context_(context), device_(device), port_(port), features_(features) {}

BoxAnswer ProgrammingController::Box(HWND owner, const char* text, const char* caption, BoxButtons buttons,
                                     BoxIcon icon) {
  return calls_.ShowMessageBox(owner, text, caption, buttons, icon);
}

std::string ProgrammingController::DisplayName() { return GetDeviceDisplayName(context_); }

std::string ProgrammingController::Title() {
  const ProgrammingDeviceFacts f = device_.Facts();
  const int n = context_.programLayer - 2;
  const bool programLayer = n >= 0 && n < static_cast<int>(context_.layerNames.size());
  return ProgrammingTitle(DisplayName(), programLayer ? context_.layerNames[n] : std::string(),
                          f.hasColourLayers, f.red, f.bootMode);
}

void ProgrammingController::Start() {
  const ProgrammingDeviceFacts f = device_.Facts();
  ProgrammingState& s = context_.programming;
  context_.programLayer = f.red ? 1 : 0;
  s.currentLayerCommand = 0;
  s.savedFunctions = context_.functions.items;
  ProgrammingMenuFacts menu;
  menu.backlightsAvailable = f.backlightsAvailable;
  menu.backlightsOn = f.backlightsOn;
  menu.keyswitchAvailable = f.keyswitchAvailable;
  menu.keyswitchOn = f.keyswitchOn;
  // The item shows the setting, also in a window that a request showed in spite of it.
  menu.hiddenMode = HiddenModeSetting(calls_);
  menu.red = f.red;
  menu.noKeyCap = context_.noKeyCap;
  AdjustProgrammingMenu(port_.MenuBar(), menu);
  features_.RebuildLayerMenus(context_, port_.Window());
}

bool ProgrammingController::IsModified() const {
  return context_.programming.modified || context_.functions.items != context_.programming.savedFunctions;
}

void ProgrammingController::NoteSaved(const std::string& path) {
  ProgrammingState& s = context_.programming;
  s.currentPath = path;
  s.currentFolder = FolderOfPath(path);
  s.modified = false;
  s.savedFunctions = context_.functions.items;
}

void ProgrammingController::CloseWindow() {
  device_.SetProgrammingRequested(false);
  // A script opened without a device gives its record back once the window is gone: the
  // teardown still needs it.
  releaseRecord_ = !device_.Facts().setUp;
  port_.Close();
}

void ProgrammingController::OnClose() { CloseWindow(); }

bool ProgrammingController::OnCommand(int id) {
  const HWND window = port_.Window();
  const ProgrammingDeviceFacts f = device_.Facts();
  switch (id) {
    case IDM_PW_EXIT:
      CloseWindow();
      return true;
    case IDM_PW_NEW:
      New();
      return true;
    case IDM_PW_SAVE:
      Save();
      return true;
    case IDM_PW_SAVE_AS:
      SaveAs("");
      return true;
    case IDM_PW_OPEN:
      Open();
      return true;
    case IDM_PW_WRITE_TO_DEVICE:
      // Only on-board macros that were read may be written over.
      if (context_.programming.onboardProgramming && !f.bootMode) {
        device_.SetBootMode(true);
        port_.Close();
      }
      return true;
    case IDM_PW_QUORL_MODE:
      device_.SetBootMode(false);
      port_.SetTitle(Title());
      return true;
    case IDM_PW_GREEN_LAYER:
      ShowColourLayer(false);
      return true;
    case IDM_PW_RED_LAYER:
      if (f.hasColourLayers) ShowColourLayer(true);
      return true;
    case IDM_PW_ADD_PROGRAM_LAYER:
      features_.ShowProgramLayerDialog(context_, window);
      return true;
    case IDM_PW_HIDDEN_MODE:
      ToggleHiddenMode();
      return true;
    case IDM_PW_BACKLIGHTS:
      ToggleBacklights();
      return true;
    case IDM_PW_KEYSWITCH_MODE:
      ToggleKeyswitch();
      return true;
    case IDM_PW_LEGEND_MAKER:
      features_.OpenLegendMaker(context_, window);
      return true;
    case IDM_PW_KEY_CAPS_ADD:
    case IDM_PW_KEY_CAPS_REMOVE:
      // Key caps are found from the device's own reports: without an attached device, none.
      if (!f.setUp) return true;
      if (id == IDM_PW_KEY_CAPS_ADD)
        features_.AddKeyCap(context_, window);
      else
        features_.RemoveKeyCap(context_, window);
      return true;
    case IDM_PW_HELP: {
      std::string help;
      if (ResolveProgramFile(kHelpFileName, help))
        calls_.ExecuteWithShell(window, "Open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      return true;
    }
    case IDM_PW_WEB_PAGE:
      calls_.ExecuteWithShell(window, "open", kDeviceFamilyWebPage, nullptr, nullptr, SW_SHOWNORMAL);
      return true;
    case IDM_PW_ABOUT:
      features_.ShowAbout(window, f.productId);
      return true;
  }
  if (id >= IDM_PW_FIRST_PROGRAM_LAYER && id <= IDM_PW_LAST_PROGRAM_LAYER) {
    ShowProgramLayer(id);
    return true;
  }
  if (id >= IDM_PW_FIRST_REMOVE_LAYER && id <= IDM_PW_LAST_REMOVE_LAYER) {
    const auto layer = RemovedLayerOfCommand(id, static_cast<int>(context_.layerNames.size()));
    if (layer) features_.RemoveProgramLayer(context_, window, *layer);
    return true;
  }
  return false;
}

void ProgrammingController::OnMenuPopup() {
  const ProgrammingDeviceFacts f = device_.Facts();
  UpdateProgrammingPopups(port_.MenuBar(),
                          {context_.programming.onboardProgramming, f.bootMode, f.hasColourLayers});
}

void ProgrammingController::ShowColourLayer(bool red) {
  const ProgrammingDeviceFacts f = device_.Facts();
  const HMENU bar = port_.MenuBar();
  context_.programming.currentLayerCommand = red ? IDM_PW_RED_LAYER : IDM_PW_GREEN_LAYER;
  SetLayerMenuTexts(bar, f.hasColourLayers, context_.layerNames);
  CheckColourLayer(bar, red);
  device_.SetRed(red);
  context_.programLayer = red ? 1 : 0;
  port_.SetTitle(Title());
  port_.Repaint();
}

void ProgrammingController::ShowProgramLayer(int command) {
  const ProgrammingDeviceFacts f = device_.Facts();
  const auto choice =
      ProgramLayerOfCommand(command, f.hasColourLayers, static_cast<int>(context_.layerNames.size()));
  if (!choice) return;  // a layer that does not exist
  const HMENU bar = port_.MenuBar();
  SetLayerMenuTexts(bar, f.hasColourLayers, context_.layerNames);
  context_.programming.currentLayerCommand = command;
  context_.programLayer = choice->layer + 2;
  CheckProgramLayer(bar, choice->layer, choice->red, f.hasColourLayers);
  if (f.hasColourLayers) device_.SetRed(choice->red);
  port_.SetTitle(Title());
  port_.Repaint();
}

void ProgrammingController::WriteDeviceScript() {
  const std::string path = device_.ScriptFileName();
  if (!path.empty()) WriteScriptFileAndTell(context_, path, port_.Window());
}

bool ProgrammingController::Save() {
  const std::string& path = context_.programming.currentPath;
  if (path.empty()) return SaveAs("");
  if (!IsScriptFilePath(path)) return SaveAs(ScriptFileSuggestion(path));
  const std::string target = path;
  if (!WriteScriptFileAndTell(context_, target, port_.Window())) return false;  // still modified
  NoteSaved(target);
  return true;
}

bool ProgrammingController::SaveAs(const std::string& suggestion) {
  const auto chosen = calls_.ChooseFileToSave(
      ScriptQuestion(port_.Window(), "Save Orvane Script", device_.TypeFolder()), suggestion);
  if (!chosen) return false;
  if (!WriteScriptFileAndTell(context_, *chosen, port_.Window())) return false;
  NoteSaved(*chosen);
  return true;
}

bool ProgrammingController::AskToSaveFirst(const char* question) {
  if (!IsModified() || context_.functions.items.empty()) return true;
  switch (Box(port_.Window(), question, "Modified File", BoxButtons::YesNoCancel, BoxIcon::Question)) {
    case BoxAnswer::Yes:
      return Save();  // a save that did not happen keeps the layout as it is
    case BoxAnswer::No:
      return true;
    default:
      return false;
  }
}

void ProgrammingController::Open() {
  if (!AskToSaveFirst("Do you want to save the current file before opening a new one?")) return;
  const auto chosen = calls_.ChooseFileToOpen(
      ScriptQuestion(port_.Window(), "Open Orvane Script", device_.TypeFolder()));
  if (!chosen) return;
  MacroContext& c = context_;
  ClearKeyFunctions(c.functions);
  c.toggleKeys.clear();
  c.shiftKeys.clear();
  c.includes.clear();
  c.customCommandCount = 0;
  for (int spacer : std::set<int>(c.spacers)) features_.ClearKeySpacer(c, spacer);
  c.spacers.clear();
  c.keyCaps.clear();
  ReadScriptFile(c, *chosen);
  RebuildKeyCaps(c);
  // The old layout's key caps go (their records, and the marks on the keys they covered), and
  // those of the file come.
  BuildKeyCapViews(c);
  RedrawAllKeys(c);
  NoteSaved(*chosen);
  port_.PostRedraw();
  port_.Repaint();
  WriteDeviceScript();
  ShowColourLayer(false);
}

void ProgrammingController::New() {
  if (!AskToSaveFirst("Do you want to save the current file before creating a new one?")) return;
  MacroContext& c = context_;
  c.shiftKeys.clear();
  c.toggleKeys.clear();
  c.includes.clear();
  c.customCommandCount = 0;
  ClearKeyFunctions(c.functions);
  RebuildKeyCaps(c);
  port_.PostRedraw();
  features_.RemoveAllProgramLayers(c, port_.Window());
  // A removed layer must not come back from the map at the next reading.
  c.layerMap.clear();
  // Save must not put the empty layout over the file opened before without asking.
  NoteSaved("");
  SetLayerMenuTexts(port_.MenuBar(), device_.Facts().hasColourLayers, c.layerNames);
  ShowColourLayer(false);
  WriteDeviceScript();
}

void ProgrammingController::ToggleHiddenMode() {
  const HWND window = port_.Window();
  if (!device_.Facts().hasProgrammingSwitch) {
    Box(window,
        "The connected Qpad device does not have a programming switch and can't be programmed in "
        "hidden mode.",
        "No Programming Switch", BoxButtons::Ok, BoxIcon::Information);
    return;
  }
  const bool on = HiddenModeSetting(calls_);
  if (on) {
    WriteMachineDword(calls_, kOrvaneRegistryKey, kInvisibleValue, 0);
  } else {
    if (Box(window, kHiddenModeQuestion, "Entering Hidden Mode", BoxButtons::OkCancel, BoxIcon::Information) !=
        BoxAnswer::Ok)
      return;
    WriteMachineDword(calls_, kOrvaneRegistryKey, kInvisibleValue, 1);
    Box(window, "Hidden mode will be activated after closing the programming window.",
        "Entering Hidden Mode", BoxButtons::Ok, BoxIcon::Information);
  }
  // Only the menu follows: the window and its editor stay as they are until it closes.
  CheckViewItem(port_.MenuBar(), IDM_PW_HIDDEN_MODE, !on);
}

void ProgrammingController::ToggleBacklights() {
  const ProgrammingDeviceFacts f = device_.Facts();
  if (!f.backlightsAvailable) return;
  device_.SetBacklights(!f.backlightsOn);
  CheckViewItem(port_.MenuBar(), IDM_PW_BACKLIGHTS, device_.Facts().backlightsOn);
  WriteDeviceScript();  // the script carries the state
}

void ProgrammingController::ToggleKeyswitch() {
  const ProgrammingDeviceFacts f = device_.Facts();
  const HWND window = port_.Window();
  if (!f.keyswitchAvailable) return;
  if (f.keyswitchOn) {
    device_.SetKeyswitchMode(false);
  } else {
    if (Box(window, kKeyswitchQuestion, "Entering KeySwitch Mode", BoxButtons::OkCancel, BoxIcon::Information) !=
        BoxAnswer::Ok)
      return;
    device_.SetKeyswitchMode(true);
    Box(window, "Keyswitch mode will be activated after closing the programming window.",
        "Entering Keyswitch Mode", BoxButtons::Ok, BoxIcon::Information);
  }
  CheckViewItem(port_.MenuBar(), IDM_PW_KEYSWITCH_MODE, !f.keyswitchOn);
  // The script carries the mode; unwritten, the regeneration at closing would read it back off.
  WriteDeviceScript();
}

void ProgrammingController::OnDrop(float x, float y, const std::vector<std::wstring>& paths) {
  const int key = KeyFromPoint(x, y, context_);
  if (key < 0) return;
  context_.pressedKeyId = context_.keys[key].keyId;
  if (AddDroppedFiles(context_, key, device_.Facts().red, paths)) WriteDeviceScript();
  context_.pressedKeyId = kNoKeyId;
  port_.Repaint();
}
