#pragma once
// The program folder, the alternative data root and the per-device-type folders, with every
// lookup of a device type's files: the alternative root is tried first, then the program's own.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/path_text.h"

struct DeviceFolderEntry {
  std::string defaultFolder;      // under "QpadDevices"; empty when none
  std::string alternativeFolder;  // under the data root; empty when none
  int vendorId = 0;
  int productId = 0;
  int version = 0;
};

// --- Pure helpers -------------------------------------------------------------------------

// The folder part of the command line's first token, ending in its separator ("" when none).
std::string ProgramFolderFromCommandLine(const std::string& commandLine);
// "%s\\Vid%04xPid%04x" or with "v%04x" for a version above 0; upper-case hex when asked.
std::string DeviceFolderName(const std::string& root, int vendorId, int productId, int version,
                             bool upperCase);

// --- Program folders ----------------------------------------------------------------------

void InitProgramFolders(const std::string& commandLine);
void SetDataRootFromArg(const std::wstring& arg);
void SetDataRootFromHost(const std::string& path);
std::string GetDataRoot();
std::string GetProgramFolder();
std::string GetQpadDevicesFolder();
std::string GetCabFilesFolder();
// The Custom Commands folder, or "" when it does not exist.
std::string GetCustomCommandsFolder();
// The folders every script run of the program searches for includes after the usual places:
// the Custom Commands folder when it exists (device folders under another data root need it).
std::vector<std::string> GetProgramIncludeFolders();

// --- Device folders -----------------------------------------------------------------------

// The entry for the device type, made on first use; null when neither root has its folder.
DeviceFolderEntry* FindDeviceFolder(int vendorId, int productId, int version);
void FreeDeviceFolders();
// Alternative folder if set, else the default one; -1 for an entry not in the list.
int GetDeviceFolderPath(const DeviceFolderEntry* entry, std::string& out);

FilePtr OpenReportConfig(const DeviceFolderEntry* entry);
FilePtr OpenDeviceFile(const DeviceFolderEntry* entry, const std::string& name);
bool ResolveDeviceFile(const DeviceFolderEntry* entry, const std::string& name, std::string& out);
bool ResolveDeviceFileW(const DeviceFolderEntry* entry, const std::string& name, std::wstring& out);
// The program folder's file; true when it exists.
bool ResolveProgramFile(const std::string& name, std::string& out);

// --- Device scripts -----------------------------------------------------------------------

// The first that exists of the alternative "Script_<unit>.oxs", the alternative "Script.oxs",
// the default "Script_<unit>.oxs"; else the default "Script.oxs". -1 for an unknown entry.
int GetDeviceScriptPath(const DeviceFolderEntry* entry, int unitId, std::string& out);
// Where a save of the unit's script goes: "Script_<unit>.oxs" in the alternative folder if set.
std::string GetDeviceScriptFileName(const DeviceFolderEntry* entry, int unitId);
// Opened for binary reading; null on failure.
FilePtr OpenDeviceScript(const DeviceFolderEntry* entry, int unitId);
// 0 success, -1 failure (the old backup, or the old script, stays whole).
int BackupDeviceScript(const DeviceFolderEntry* entry, int unitId);
int RestoreDeviceScript(const DeviceFolderEntry* entry, int unitId);
// Replaces the unit's script with the bytes as given; on any failure the old file stays.
// 0 success, -1 failure.
int WriteDeviceScriptFile(const DeviceFolderEntry* entry, int unitId, const char* text,
                          std::size_t length);
// The script path cut at its last backslash.
std::string GetDeviceScriptFolder(const DeviceFolderEntry* entry, int unitId);

// --- Button images ------------------------------------------------------------------------

// The device folder's parent (with its backslash) plus "Button Images\".
std::string GetButtonImagesFolder(const DeviceFolderEntry* entry);
std::wstring GetButtonImagesFolderW(const DeviceFolderEntry* entry);
// The device folders, else layoutFolder + "\" + name, else the Button Images folder + name.
bool ResolveButtonImagePath(const DeviceFolderEntry* entry, const std::string& layoutFolder,
                            const std::string& name, std::wstring& out);
