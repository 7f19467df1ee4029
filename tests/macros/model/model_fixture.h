#pragma once
// A device and a picture loader of the tests' own for the macro model: device files held in
// memory, pictures that are only a size, and a count of the pictures alive.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "macros/model/macro_device.h"
#include "macros/model/view_images.h"

namespace testsupport {

class FakeDevice : public MacroDevice {
 public:
  DeviceScriptSettings settings;
  std::string folder = "C:\\Orvane\\QpadDevices\\Vid0a7cPid0019\\";
  std::map<std::string, std::string> files;  // of the device type folder, by name
  std::map<std::string, std::string> buttonImages;  // of "Button Images", by name

  std::vector<std::string> calls;  // the effects asked of the device, in order

  DeviceScriptSettings Settings() const override { return settings; }
  void SetBacklights(bool on) override {
    settings.backlightsOn = on;
    settings.backlightStateKnown = true;
    calls.push_back(on ? "backlights on" : "backlights off");
  }
  void SetKeyswitchMode(bool on) override {
    settings.keyswitchOn = on;
    calls.push_back(on ? "keyswitch on" : "keyswitch off");
  }
  bool onboard = false;
  bool KeepsOnboardMacros() const override { return onboard; }
  void EndProgramming() override { calls.push_back("end programming"); }
  void Wake() override { calls.push_back("wake"); }
  bool ReadDeviceFile(const std::string& name, std::string& text, std::string& path) override {
    auto it = files.find(name);
    if (it == files.end()) return false;
    text = it->second;
    path = folder + name;
    return true;
  }
  bool ResolveDeviceFile(const std::string& name, std::wstring& path) override {
    if (!files.count(name)) return false;
    path = Wide(folder + name);
    return true;
  }
  bool ResolveButtonImage(const std::string&, const std::string& name, std::wstring& path) override {
    if (ResolveDeviceFile(name, path)) return true;
    if (!buttonImages.count(name)) return false;
    path = Wide(ButtonImagesFolder() + name);
    return true;
  }
  std::string ButtonImagesFolder() override { return "C:\\Orvane\\QpadDevices\\Button Images\\"; }
  std::string scriptFolder = "C:\\Orvane\\QpadDevices\\Vid0a7cPid0019";
  std::string ScriptPath() override { return scriptFolder + "\\Script_" + std::to_string(settings.unitId) + ".oxs"; }
  std::string ScriptFolder() override { return scriptFolder; }
  bool DeviceName(std::string& name) override {
    auto it = files.find("DeviceDescription.txt");
    if (it == files.end()) return false;
    const std::size_t at = it->second.find("Device Name:");
    name = at == std::string::npos ? "" : it->second.substr(at + 13, it->second.find('\n', at) - at - 13);
    return true;
  }

  static std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }
};

inline int& LiveImages() {
  static int count = 0;
  return count;
}

class FakeImage : public ViewImage {
 public:
  FakeImage(int w, int h, std::wstring p) : w_(w), h_(h), path(std::move(p)) { ++LiveImages(); }
  ~FakeImage() override { --LiveImages(); }
  int Width() const override { return w_; }
  int Height() const override { return h_; }

 private:
  int w_, h_;

 public:
  std::wstring path;
};

class FakeCanvas : public ViewCanvas {
 public:
  FakeCanvas(int w, int h) : w_(w), h_(h) {}
  int Width() const override { return w_; }
  int Height() const override { return h_; }

 private:
  int w_, h_;
};

// A picture's size comes from its file's text "W H"; text that does not give one cannot be
// decoded.
class FakeLoader : public ViewImageLoader {
 public:
  explicit FakeLoader(FakeDevice& device) : device_(device) {}
  std::shared_ptr<ViewCanvas> CreateCanvas(const std::wstring& path) override {
    int w = 0, h = 0;
    if (!Size(path, w, h)) return nullptr;
    return std::make_shared<FakeCanvas>(w, h);
  }
  std::shared_ptr<ViewImage> LoadImage(const std::wstring& path, ViewCanvas*) override {
    int w = 0, h = 0;
    if (!Size(path, w, h)) return nullptr;
    return std::make_shared<FakeImage>(w, h, path);
  }

 private:
  bool Size(const std::wstring& path, int& w, int& h) {
    const std::string narrow(path.begin(), path.end());
    const std::string name = narrow.substr(narrow.find_last_of('\\') + 1);
    const std::string* text = nullptr;
    if (narrow.rfind(device_.folder, 0) == 0 && device_.files.count(name)) text = &device_.files[name];
    else if (device_.buttonImages.count(name)) text = &device_.buttonImages[name];
    return text && std::sscanf(text->c_str(), "%d %d", &w, &h) == 2;
  }
  FakeDevice& device_;
};

}  // namespace testsupport
