#pragma once
// What the layer tests share: a host of the program layers with a Layer menu of its own that
// records what is asked of the window, and the peer program started under any exe name.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/wingui/menu.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"
#include "ui/layers/program_layers.h"

namespace testsupport {

class MenuLayerHost : public ProgramLayerHost {
 public:
  MenuLayerHost() {
    layer.get().Append(32897, "Green Layer");
    layer.get().Append(32898, "Red Layer");
    layer.get().Append(34217, "Add Program Layer...");
  }
  HWND Window() override { return window; }
  HMENU LayerMenu() override { return layer.get().handle(); }
  bool HasColourLayers() override { return colours; }
  std::string ScriptFileName() override { return script; }
  std::string TypeFolder() override { return typeFolder; }
  bool MakeFolder(const std::string& path) override {
    folders.push_back(path);
    return folderOk;
  }
  void ShowDefaultLayer() override { ++defaultLayerShown; }
  void Redraw() override { ++redraws; }

  wingui::OwnedMenu layer = wingui::OwnedMenu::Popup();
  HWND window = nullptr;
  bool colours = true;
  std::string script = "C:\\Orvane\\QpadDevices\\Vid0a7cPid0019\\Script_1.oxs";
  std::string typeFolder = "C:\\Orvane\\QpadDevices\\Vid0a7cPid0019";
  bool folderOk = true;
  std::vector<std::string> folders;
  int defaultLayerShown = 0;
  int redraws = 0;
};

// Text in the program's code page, and back.
inline std::wstring WideText(const std::string& text) {
  wchar_t out[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out, MAX_PATH);
  return out;
}
// The name as the platform lists programs: in the program's code page, lower case.
inline std::string AnsiLower(const std::wstring& name) {
  char text[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, text, sizeof text, nullptr, nullptr);
  std::string s = text;
  CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

// The peer program copied into the folder under the exe name and started, its topmost window
// with that title at x, y; the window, or null.
inline HWND StartLayerPeer(const std::string& folder, const std::wstring& exeName, const char* title, int x, int y,
                           int width = 300, int height = 180) {
  const std::wstring path = WideText(folder) + L"\\" + exeName;
  const std::string bin = EnvOr("ORVANE_BIN");
  if (!CopyFileW(WideText(bin + "\\layer_peer.exe").c_str(), path.c_str(), FALSE)) return nullptr;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring line = L"\"" + path + L"\" \"" + WideText(title) + L"\" " + std::to_wstring(x) + L" " +
                      std::to_wstring(y) + L" " + std::to_wstring(width) + L" " + std::to_wstring(height);
  if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  HWND peer = WaitForProcessWindow(pi.dwProcessId, title, 10000);
  CloseHandle(pi.hProcess);
  return peer;
}

}  // namespace testsupport
