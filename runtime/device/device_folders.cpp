#include "runtime/device/device_folders.h"

#include <windows.h>

#include <list>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/base/ansi_text.h"
#include "platform/base/file_replace.h"

namespace {

struct Folders {
  std::mutex mutex;  // the device thread and the tray menu both look entries up
  std::string programFolder;
  std::string qpadDevices;
  std::string cabFiles;
  std::string customCommands;
  std::string dataRoot;
  std::list<DeviceFolderEntry> entries;  // creation order; addresses stay valid
};

Folders& State() {
  static Folders folders;
  return folders;
}

bool Exists(const std::string& path) {
  return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path) {
  const DWORD a = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
  const DWORD a = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Listed(const DeviceFolderEntry* entry) {
  Folders& f = State();
  std::lock_guard lock(f.mutex);
  for (const auto& e : f.entries)
    if (&e == entry) return true;
  return false;
}

// Versioned names from `version` down to 1, then the name without a version. The first name
// that exists decides: a directory is the folder, anything else means none.
std::string SearchRoot(const std::string& root, int vid, int pid, int version, bool upperCase) {
  if (root.empty()) return {};
  for (int v = version > 0 ? version : 0; v >= 0; --v) {
    const std::string name = DeviceFolderName(root, vid, pid, v, upperCase);
    if (Exists(name)) return IsDirectory(name) ? name : std::string();
  }
  return {};
}

std::string ScriptName(int unitId) { return "Script_" + std::to_string(unitId) + ".oxs"; }
std::string ScriptBackupName(int unitId) {
  return "Script_" + std::to_string(unitId) + "_backup.oxs";
}

// The script files in the order every lookup walks them, with their backups.
std::vector<std::pair<std::string, std::string>> ScriptPairs(const DeviceFolderEntry& e,
                                                             int unitId) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const std::string* folder : {&e.alternativeFolder, &e.defaultFolder}) {
    if (folder->empty()) continue;
    pairs.emplace_back(JoinPath(*folder, ScriptName(unitId)),
                       JoinPath(*folder, ScriptBackupName(unitId)));
    pairs.emplace_back(JoinPath(*folder, "Script.oxs"), JoinPath(*folder, "Script_backup.oxs"));
  }
  return pairs;
}

}  // namespace

void InitProgramFolders(const std::string& commandLine) {
  Folders& f = State();
  f.programFolder = ProgramFolderFromCommandLine(commandLine);
  f.qpadDevices = f.programFolder + "QpadDevices";
  f.cabFiles = f.programFolder + "CabFiles";
  f.customCommands = f.programFolder + "Custom Commands";
  if (!IsDirectory(f.qpadDevices)) CreateDirectoryA(f.qpadDevices.c_str(), nullptr);
  if (!IsDirectory(f.customCommands)) f.customCommands.clear();
}

void SetDataRootFromArg(const std::wstring& arg) {
  std::string root = NarrowAnsi(arg);
  // "D:\My Data\" on the command line arrives as D:\My Data" (the backslash escapes the quote).
  if (!root.empty() && (root.back() == '\\' || root.back() == '"')) root.pop_back();
  State().dataRoot = root;
}

void SetDataRootFromHost(const std::string& path) { State().dataRoot = path; }

std::string GetDataRoot() { return State().dataRoot; }
std::string GetProgramFolder() { return State().programFolder; }
std::string GetQpadDevicesFolder() { return State().qpadDevices; }
std::string GetCabFilesFolder() { return State().cabFiles; }
std::string GetCustomCommandsFolder() { return State().customCommands; }

std::vector<std::string> GetProgramIncludeFolders() {
  std::string customCommands = GetCustomCommandsFolder();
  if (customCommands.empty()) return {};
  return {std::move(customCommands)};
}

DeviceFolderEntry* FindDeviceFolder(int vendorId, int productId, int version) {
  Folders& f = State();
  std::lock_guard lock(f.mutex);
  for (auto& e : f.entries)
    if (e.vendorId == vendorId && e.productId == productId && e.version == version) return &e;

  DeviceFolderEntry entry;
  entry.alternativeFolder = SearchRoot(f.dataRoot, vendorId, productId, version, true);
  entry.defaultFolder = SearchRoot(f.qpadDevices, vendorId, productId, version, false);
  if (entry.alternativeFolder.empty() && entry.defaultFolder.empty()) return nullptr;
  entry.vendorId = vendorId;
  entry.productId = productId;
  entry.version = version;
  f.entries.push_back(std::move(entry));
  return &f.entries.back();
}

void FreeDeviceFolders() {
  Folders& f = State();
  std::lock_guard lock(f.mutex);
  f.entries.clear();
}

int GetDeviceFolderPath(const DeviceFolderEntry* entry, std::string& out) {
  if (!Listed(entry)) return -1;
  out = entry->alternativeFolder.empty() ? entry->defaultFolder : entry->alternativeFolder;
  return 0;
}

bool ResolveDeviceFile(const DeviceFolderEntry* entry, const std::string& name, std::string& out) {
  if (!entry) return false;
  for (const std::string* folder : {&entry->alternativeFolder, &entry->defaultFolder}) {
    const std::string path = JoinPath(*folder, name);
    if (Exists(path)) {
      out = path;
      return true;
    }
  }
  return false;
}

bool ResolveDeviceFileW(const DeviceFolderEntry* entry, const std::string& name,
                        std::wstring& out) {
  std::string narrow;
  if (!ResolveDeviceFile(entry, name, narrow)) return false;
  out = WidenAnsi(narrow);
  return true;
}

FilePtr OpenDeviceFile(const DeviceFolderEntry* entry, const std::string& name) {
  std::string path;
  if (!ResolveDeviceFile(entry, name, path)) return nullptr;
  return FilePtr(std::fopen(path.c_str(), "r"));
}

FilePtr OpenReportConfig(const DeviceFolderEntry* entry) {
  return OpenDeviceFile(entry, "ReportConfig.txt");
}

bool ResolveProgramFile(const std::string& name, std::string& out) {
  const std::string path = State().programFolder + name;
  if (path.size() > kMaxPathChars || !Exists(path)) return false;
  out = path;
  return true;
}

int GetDeviceScriptPath(const DeviceFolderEntry* entry, int unitId, std::string& out) {
  if (!Listed(entry)) return -1;
  const std::string candidates[] = {
      JoinPath(entry->alternativeFolder, ScriptName(unitId)),
      JoinPath(entry->alternativeFolder, "Script.oxs"),
      JoinPath(entry->defaultFolder, ScriptName(unitId)),
  };
  for (const auto& path : candidates) {
    if (IsFile(path)) {
      out = path;
      return 0;
    }
  }
  out = JoinPath(entry->defaultFolder, "Script.oxs");
  return 0;
}

std::string GetDeviceScriptFileName(const DeviceFolderEntry* entry, int unitId) {
  if (!entry) return {};
  const std::string& folder =
      entry->alternativeFolder.empty() ? entry->defaultFolder : entry->alternativeFolder;
  return JoinPath(folder, ScriptName(unitId));
}

FilePtr OpenDeviceScript(const DeviceFolderEntry* entry, int unitId) {
  std::string path;
  if (GetDeviceScriptPath(entry, unitId, path) != 0 || path.empty()) return nullptr;
  return FilePtr(std::fopen(path.c_str(), "rb"));
}

int BackupDeviceScript(const DeviceFolderEntry* entry, int unitId) {
  if (!entry) return -1;
  for (const auto& [script, backup] : ScriptPairs(*entry, unitId)) {
    if (IsFile(script)) return !backup.empty() && CopyFileOver(script, backup) ? 0 : -1;
  }
  return -1;
}

int RestoreDeviceScript(const DeviceFolderEntry* entry, int unitId) {
  if (!entry) return -1;
  const auto pairs = ScriptPairs(*entry, unitId);
  // The script that is built comes first: restoring another one would leave the broken file.
  std::string built;
  if (GetDeviceScriptPath(entry, unitId, built) == 0) {
    for (const auto& [script, backup] : pairs)
      if (script == built && IsFile(backup)) return CopyFileOver(backup, script) ? 0 : -1;
  }
  for (const auto& [script, backup] : pairs) {
    if (IsFile(backup)) return !script.empty() && CopyFileOver(backup, script) ? 0 : -1;
  }
  return -1;
}

int WriteDeviceScriptFile(const DeviceFolderEntry* entry, int unitId, const char* text,
                          std::size_t length) {
  const std::string target = GetDeviceScriptFileName(entry, unitId);
  if (target.empty() || (length > 0 && !text)) return -1;
  return ReplaceFileWith(target, std::string_view(text ? text : "", length)) ? 0 : -1;
}

std::string GetDeviceScriptFolder(const DeviceFolderEntry* entry, int unitId) {
  std::string path;
  if (GetDeviceScriptPath(entry, unitId, path) != 0) return {};
  return CutAtLastBackslash(path);
}

std::string GetButtonImagesFolder(const DeviceFolderEntry* entry) {
  std::string folder;
  if (GetDeviceFolderPath(entry, folder) != 0) return {};
  const std::string parent = CutAfterLastBackslash(folder);
  return parent.empty() ? std::string() : parent + "Button Images\\";
}

std::wstring GetButtonImagesFolderW(const DeviceFolderEntry* entry) {
  return WidenAnsi(GetButtonImagesFolder(entry));
}

bool ResolveButtonImagePath(const DeviceFolderEntry* entry, const std::string& layoutFolder,
                            const std::string& name, std::wstring& out) {
  if (ResolveDeviceFileW(entry, name, out)) return true;
  const std::string inLayout = JoinPath(layoutFolder, name);
  if (Exists(inLayout)) {
    out = WidenAnsi(inLayout);
    return true;
  }
  const std::string images = GetButtonImagesFolder(entry);
  const std::string inImages = images.empty() ? std::string() : images + name;
  if (!inImages.empty() && inImages.size() <= kMaxPathChars && Exists(inImages)) {
    out = WidenAnsi(inImages);
    return true;
  }
  return false;
}
