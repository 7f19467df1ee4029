#include "ui/layers/program_layers.h"

#include <vector>

#include "macros/model/custom_commands.h"
#include "macros/model/key_caps.h"
#include "macros/model/key_functions.h"
#include "macros/model/layer_names.h"
#include "macros/model/macro_context.h"
#include "macros/model/script_writer.h"
#include "macros/script_file_write.h"
#include "platform/base/file_access.h"
#include "platform/base/system_calls.h"
#include "ui/layers/layer_backup.h"
#include "ui/layers/layer_menus.h"
#include "ui/programming_window/layer_choice.h"

namespace {

constexpr const char* kAddCaption = "Add Program Layer";
constexpr const char* kRemoveCaption = "Remove Layer";
constexpr const char* kRecoverCaption = "Recover Layer";
// A backup of one layer made again on the same day gets a number, up to this one (which is then
// written over).
constexpr int kMaxBackupCopies = 999;

std::string BackupFolder(const std::string& typeFolder) { return typeFolder + "\\" + kLayerBackupFolder; }

// The functions of the layer, and the list without them (indexes renumbered).
std::vector<KeyFunction> TakeLayerFunctions(KeyFunctionList& list, std::string_view layer) {
  std::vector<KeyFunction> taken, kept;
  for (KeyFunction& f : list.items) (LayerOwnsFunction(layer, f) ? taken : kept).push_back(std::move(f));
  for (std::size_t i = 0; i < kept.size(); ++i) kept[i].index = static_cast<int>(i);
  list.items = std::move(kept);
  RebuildKeyFunctionTree(list);
  return taken;
}

}  // namespace

BoxAnswer ProgramLayers::Tell(const std::string& text, const char* caption, BoxButtons buttons, BoxIcon icon) {
  return calls_.ShowMessageBox(host_.Window(), text.c_str(), caption, buttons, icon);
}

LayerRefusal ProgramLayers::BuildLayerMenu(std::string_view given, const std::string& exe, bool write) {
  const std::string name = LayerNameOf(given);
  const LayerRefusal refusal = CheckNewLayer(c_.layerNames, name, MaxProgramLayers(host_.HasColourLayers()));
  if (refusal != LayerRefusal::None) return refusal;
  const int layer = static_cast<int>(c_.layerNames.size());
  InsertLayerMenus(host_.LayerMenu(), layer, name, host_.HasColourLayers());
  c_.layerNames.push_back(name);
  c_.layerPrograms.push_back(exe);
  if (write) WriteScript();
  return LayerRefusal::None;
}

void ProgramLayers::RebuildLayerMenus() {
  for (const auto& [name, exe] : c_.layerMap) BuildLayerMenu(name, exe, false);
}

void ProgramLayers::RemoveMenus() {
  RemoveAllLayerMenus(host_.LayerMenu(), static_cast<int>(c_.layerNames.size()));
}

void ProgramLayers::RemoveAll() {
  RemoveMenus();
  c_.layerNames.clear();
  c_.layerPrograms.clear();
  c_.layerMap.clear();
}

bool ProgramLayers::Remove(int layer) {
  const int count = static_cast<int>(c_.layerNames.size());
  if (layer < 0 || layer >= count) return false;
  const std::string name = c_.layerNames[layer];
  const std::string exe = layer < static_cast<int>(c_.layerPrograms.size()) ? c_.layerPrograms[layer] : "";
  if (Tell("Are you sure you want to remove " + name + "?", kRemoveCaption, BoxButtons::YesNo, BoxIcon::Question) !=
      BoxAnswer::Yes)
    return false;

  bool owns = false;
  for (const KeyFunction& f : c_.functions.items) owns = owns || LayerOwnsFunction(name, f);
  if (owns) {
    // The macros leave only once they are safe in the backup.
    const std::string folder = BackupFolder(host_.TypeFolder());
    const ClockTime today = calls_.LocalTime();
    std::string path = folder + "\\" + LayerBackupFileName(name, today);
    for (int copy = 2; copy <= kMaxBackupCopies && MacroFiles(c_).CanRead(path); ++copy)
      path = folder + "\\" + LayerBackupFileName(name, today, copy);
    KeyFunctionList remaining = c_.functions;
    std::vector<KeyFunction> taken = TakeLayerFunctions(remaining, name);
    if (host_.TypeFolder().empty() || !host_.MakeFolder(folder) ||
        !MacroFiles(c_).Write(path, ToCrLf(LayerBackupText(name, exe, taken)))) {
      Tell("The macros of " + name + " could not be backed up to\n" + path + "\n\nThe layer was not removed.",
           kRemoveCaption, BoxButtons::Ok, BoxIcon::Error);
      return false;
    }
    c_.functions = std::move(remaining);
    for (int id : CustomCommandIdsOf(taken)) c_.removedCommandIds.push_back(id);
    RenumberCustomCommands(c_);
    RebuildKeyCaps(c_);
  }

  RemoveLayerMenus(host_.LayerMenu(), layer, count);
  c_.layerNames.erase(c_.layerNames.begin() + layer);
  if (layer < static_cast<int>(c_.layerPrograms.size())) c_.layerPrograms.erase(c_.layerPrograms.begin() + layer);
  // The layer map keeps the layers of the script last read; a removed one must not come back.
  for (auto it = c_.layerMap.begin(); it != c_.layerMap.end();)
    it = CompareNames(it->first, name) == 0 ? c_.layerMap.erase(it) : std::next(it);
  host_.ShowDefaultLayer();
  WriteScript();
  return true;
}

bool ProgramLayers::Recover(const std::string& backupPath) {
  if (host_.ScriptFileName().empty()) return false;
  std::string bytes;
  if (MacroFiles(c_).Read(backupPath, bytes, 64u << 20) != FileAccess::ReadResult::Ok) {
    Tell("The file could not be read:\n" + backupPath, kRecoverCaption, BoxButtons::Ok, BoxIcon::Error);
    return false;
  }
  const LayerBackup backup = ReadLayerBackup(bytes);
  const std::string name = LayerNameOf(backup.layer);
  const LayerRefusal refusal = CheckNewLayer(c_.layerNames, name, MaxProgramLayers(host_.HasColourLayers()));
  if (refusal == LayerRefusal::Empty) {
    Tell("This file is not a layer backup:\n" + backupPath, kRecoverCaption, BoxButtons::Ok, BoxIcon::Error);
    return false;
  }
  if (refusal != LayerRefusal::None && refusal != LayerRefusal::Exists) {
    TellRefusal(refusal, name);
    return false;
  }
  // The functions go into the layout itself, so that no write of it can lose them.
  AdoptLayerFunctions(c_, name, backup.functions);
  BuildLayerMenu(name, backup.exe, false);
  RebuildKeyCaps(c_);
  WriteScript();
  host_.Redraw();
  return true;
}

bool ProgramLayers::RecoverChosenFile() {
  if (host_.ScriptFileName().empty()) return false;
  OpenFileQuestion question;
  question.owner = host_.Window();
  question.title = "Save Orvane Script";
  question.filterName = "Orvane Script (*.oxs)";
  question.filterPattern = "*.oxs";
  question.defaultExtension = "oxs";
  question.initialFolder = BackupFolder(host_.TypeFolder());
  const std::optional<std::string> chosen = calls_.ChooseFileToOpen(question);
  return chosen && Recover(*chosen);
}

void ProgramLayers::TellRefusal(LayerRefusal refusal, std::string_view name) {
  if (refusal == LayerRefusal::Reserved)
    Tell("A program layer cannot be named " + std::string(name) + ". Please choose another program.",
         kAddCaption, BoxButtons::Ok, BoxIcon::Information);
  else if (refusal == LayerRefusal::TooMany)
    Tell("No more program layers can be added.", kAddCaption, BoxButtons::Ok, BoxIcon::Information);
}

void ProgramLayers::WriteScript() {
  const std::string path = host_.ScriptFileName();
  if (!path.empty()) WriteScriptFileAndTell(c_, path, host_.Window());
}
