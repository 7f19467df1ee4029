#pragma once
// Lococab.dll loaded by path, with its exports under their own names, and a small command
// language over them that a test runs in its own process or hands to a peer process.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/modules/loaded_library.h"

namespace lococabtest {

class LococabLibrary : public modulestest::LoadedLibrary {
 public:
  explicit LococabLibrary(const std::string& path) : LoadedLibrary(path) {
    Bind(SetLococabConnected, "SetLococabConnected");
    Bind(GetLococabConnected, "GetLococabConnected");
    Bind(SetVeltrakConnected, "SetVeltrakConnected");
    Bind(GetVeltrakConnected, "GetVeltrakConnected");
    Bind(SetLococabLocoChanged, "SetLococabLocoChanged");
    Bind(GetVeltrakLocoChanged, "GetVeltrakLocoChanged");
    Bind(GetVeltrakCombinedThrottleBrake, "GetVeltrakCombinedThrottleBrake");
    Bind(SetVeltrakValue, "SetVeltrakValue");
    Bind(GetNextLococabId, "GetNextLococabId");
    Bind(GetLococabValue, "GetLococabValue");
    Bind(GetVeltrakValue, "GetVeltrakValue");
    Bind(GetLococabGetId, "GetLococabGetId");
    Bind(GetLococabGetType, "GetLococabGetType");
    Bind(SetLococabValue, "SetLococabValue");
  }

  // The byte results as a caller that declares them int sees them.
  void (*SetLococabConnected)(int) = nullptr;
  int (*GetLococabConnected)() = nullptr;
  void (*SetVeltrakConnected)(int) = nullptr;
  int (*GetVeltrakConnected)() = nullptr;
  void (*SetLococabLocoChanged)(int) = nullptr;
  int (*GetVeltrakLocoChanged)() = nullptr;
  int (*GetVeltrakCombinedThrottleBrake)() = nullptr;
  void (*SetVeltrakValue)(int, float) = nullptr;
  int (*GetNextLococabId)(int) = nullptr;
  float (*GetLococabValue)(int) = nullptr;
  float (*GetVeltrakValue)(int, int) = nullptr;
  int (*GetLococabGetId)() = nullptr;
  int (*GetLococabGetType)() = nullptr;
  void (*SetLococabValue)(int, float) = nullptr;
};

inline std::string FloatText(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
  return text;
}

// Walks the published values until the slot carries the value: "seen", else (after ms) the
// slot's last value read ("last v") or "nothing" when the slot was never published.
inline std::string AwaitValue(LococabLibrary& lib, int slot, float value, DWORD ms) {
  const DWORD start = GetTickCount();
  std::string last = "nothing";
  do {
    for (int id = lib.GetNextLococabId(-1); id >= 0; id = lib.GetNextLococabId(id)) {
      const float v = lib.GetLococabValue(id);
      if (id != slot) continue;
      if (v == value) return "seen";
      last = "last " + FloatText(v);
    }
    Sleep(1);
  } while (GetTickCount() - start <= ms);
  return last;
}

// Runs one command "Export[:arg[:arg]]" and gives its result as text ("" for a setter), or
// "AwaitRequest:slot:value:ms": polls until a request for the slot is pending, then answers it
// with the value ("answered" or "no request"), or "AwaitValue:slot:value:ms" (above), or
// "AwaitLocoChanged:ms": polls until loco changed is raised ("changed" or "unchanged"), or
// "Hold:ms": keeps the block for a while.
inline std::string RunCommand(LococabLibrary& lib, const std::string& command) {
  std::vector<std::string> p;
  std::stringstream in(command);
  for (std::string part; std::getline(in, part, ':');) p.push_back(part);
  if (p.empty()) return "?";
  auto i = [&](std::size_t n) { return n < p.size() ? std::atoi(p[n].c_str()) : 0; };
  auto f = [&](std::size_t n) {
    return n < p.size() ? static_cast<float>(std::atof(p[n].c_str())) : 0.0f;
  };
  const std::string& name = p[0];
  if (name == "SetLococabConnected") return lib.SetLococabConnected(i(1)), "";
  if (name == "GetLococabConnected") return std::to_string(lib.GetLococabConnected());
  if (name == "SetVeltrakConnected") return lib.SetVeltrakConnected(i(1)), "";
  if (name == "GetVeltrakConnected") return std::to_string(lib.GetVeltrakConnected());
  if (name == "SetLococabLocoChanged") return lib.SetLococabLocoChanged(i(1)), "";
  if (name == "GetVeltrakLocoChanged") return std::to_string(lib.GetVeltrakLocoChanged());
  if (name == "GetVeltrakCombinedThrottleBrake")
    return std::to_string(lib.GetVeltrakCombinedThrottleBrake());
  if (name == "SetVeltrakValue") return lib.SetVeltrakValue(i(1), f(2)), "";
  if (name == "GetNextLococabId") return std::to_string(lib.GetNextLococabId(i(1)));
  if (name == "GetLococabValue") return FloatText(lib.GetLococabValue(i(1)));
  if (name == "GetVeltrakValue") return FloatText(lib.GetVeltrakValue(i(1), i(2)));
  if (name == "GetLococabGetId") return std::to_string(lib.GetLococabGetId());
  if (name == "GetLococabGetType") return std::to_string(lib.GetLococabGetType());
  if (name == "SetLococabValue") return lib.SetLococabValue(i(1), f(2)), "";
  if (name == "AwaitRequest") {
    const DWORD start = GetTickCount();
    while (lib.GetLococabGetId() != i(1)) {
      if (GetTickCount() - start > static_cast<DWORD>(i(3))) return "no request";
      Sleep(1);
    }
    lib.SetLococabValue(i(1), f(2));
    return "answered";
  }
  if (name == "AwaitValue") return AwaitValue(lib, i(1), f(2), static_cast<DWORD>(i(3)));
  if (name == "AwaitLocoChanged") {
    const DWORD start = GetTickCount();
    while (!lib.GetVeltrakLocoChanged()) {
      if (GetTickCount() - start > static_cast<DWORD>(i(1))) return "unchanged";
      Sleep(1);
    }
    return "changed";
  }
  if (name == "Hold") return Sleep(static_cast<DWORD>(i(1))), "";
  return "unknown " + name;
}

// The results of several commands, each followed by ";".
inline std::string RunCommands(LococabLibrary& lib, const std::vector<std::string>& commands) {
  std::string out;
  for (const std::string& c : commands) out += RunCommand(lib, c) + ";";
  return out;
}

}  // namespace lococabtest
