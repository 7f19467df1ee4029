#include "ui/plugins/plugin_windows.h"

#include <cstdint>
#include <string>
#include <vector>

#include "macros/device_record_source.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "macros/model/macro_hooks.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/script/library_loader.h"
#include "ui/plugins/plugin_keys.h"
#include "ui/programming_window/programming_window.h"

namespace {

struct LibraryImage {
  std::uintptr_t start = 0;
  std::uintptr_t end = 0;
  bool Holds(std::uintptr_t address) const { return address >= start && address < end; }
};

LibraryImage ImageOf(HMODULE library) {
  const auto base = reinterpret_cast<std::uintptr_t>(library);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(library);
  if (!library || dos->e_magic != IMAGE_DOS_SIGNATURE) return {};
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return {};
  return {base, base + nt->OptionalHeader.SizeOfImage};
}

struct LibraryWindows {
  HMODULE library;
  LibraryImage image;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectLibraryWindow(HWND window, LPARAM data) {
  auto& w = *reinterpret_cast<LibraryWindows*>(data);
  const bool ofClass = reinterpret_cast<HMODULE>(GetClassLongPtrA(window, GCLP_HMODULE)) == w.library;
  const bool ofProcedure = w.image.Holds(static_cast<std::uintptr_t>(GetWindowLongPtrA(window, GWLP_WNDPROC)));
  // Only a window with the dialog manager's bytes has a dialog procedure to read.
  const bool ofDialog = GetClassLongPtrA(window, GCL_CBWNDEXTRA) >= DLGWINDOWEXTRA &&
                        w.image.Holds(static_cast<std::uintptr_t>(GetWindowLongPtrA(window, DWLP_DLGPROC)));
  if (ofClass || ofProcedure || ofDialog) w.found.push_back(window);
  return TRUE;
}

void UnloadPlugins(MacroContext& context) {
  for (void* library : context.programming.pluginLibraries) DestroyWindowsOfLibrary(static_cast<HMODULE>(library));
  FreePluginLibraries(context, SystemLibraries());
}

}  // namespace

MacroContext* OwnProgrammingContext(HWND window) {
  if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return nullptr;
  return ProgrammingContextOf(window);
}

std::string LocatePluginLibrary(const DeviceFolderEntry* folder, const std::string& library) {
  std::string path;
  if (folder && ResolveDeviceFile(folder, library, path)) return path;
  if (ResolveProgramFile(library, path)) return path;
  return {};
}

int OpenCustomKeyWindow(HWND programmingWindow, int keyId) {
  MacroContext* context = OwnProgrammingContext(programmingWindow);
  if (!context) return 0;
  auto* device = dynamic_cast<DeviceRecordSource*>(context->device);
  const DeviceRecord* record = device ? device->Record() : nullptr;
  const DeviceFolderEntry* folder = record ? record->folder : nullptr;
  return OfferKeyToPlugins(*context, programmingWindow, keyId, SystemLibraries(),
                           [folder](const std::string& library) { return LocatePluginLibrary(folder, library); });
}

void DestroyWindowsOfLibrary(HMODULE library) {
  LibraryWindows w{library, ImageOf(library), {}};
  if (!w.image.start) return;
  EnumThreadWindows(GetCurrentThreadId(), CollectLibraryWindow, reinterpret_cast<LPARAM>(&w));
  for (HWND window : w.found)
    if (IsWindow(window)) DestroyWindow(window);
}

void InstallPlugins() {
  MacroModelHooks model = GetMacroModelHooks();
  model.unloadPlugin = UnloadPlugins;
  SetMacroModelHooks(model);
}
