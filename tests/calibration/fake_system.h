#pragma once
// A stand-in for the platform seam of the calibration program: records the message boxes
// (answering them from a queue), keeps ini files and registry values in maps and answers the
// shell, the date and the input language as told. Header-only: shared by the calibration tests.

#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "calibration/vcl/system.h"

struct ShownMessage {
  std::string text;
  std::string caption;
  vcl::Buttons buttons;
};

class FakeSystem : public vcl::System {
 public:
  vcl::Answer ShowMessage(const std::string& text, const std::string& caption,
                          vcl::Buttons buttons, vcl::Icon) override {
    messages.push_back({text, caption, buttons});
    if (onMessage) onMessage();
    if (!answers.empty()) {
      const vcl::Answer a = answers.front();
      answers.pop_front();
      return a;
    }
    return buttons == vcl::Buttons::YesNo ? vcl::Answer::Yes : vcl::Answer::Ok;
  }
  bool ReadRegistryString(vcl::RegistryRoot root, const std::string& key, const std::string& name,
                          std::string& value) override {
    registryReads.push_back(key);
    auto it = registry.find({root, key, name});
    if (it == registry.end()) return false;
    value = it->second;
    return true;
  }
  std::string ReadIniString(const std::string& file, const std::string& section,
                                const std::string& key, const std::string& fallback) override {
    if (failProfileKey == key) throw std::runtime_error("profile read failed");
    auto it = profiles.find({file, section, key});
    return it == profiles.end() ? fallback : it->second;
  }
  bool WriteIniString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& value) override {
    profiles[{file, section, key}] = value;
    return true;
  }
  int ShellOpen(const std::string& target) override {
    opened.push_back(target);
    return shellResult;
  }
  std::string ShortDate() override { return date; }
  int DefaultInputLanguage() override { return inputLanguage; }

  // The texts of the boxes shown so far, and forgets them.
  std::vector<std::string> TakeTexts() {
    std::vector<std::string> texts;
    for (const auto& m : messages) texts.push_back(m.text);
    messages.clear();
    return texts;
  }

  std::vector<ShownMessage> messages;
  std::deque<vcl::Answer> answers;
  std::function<void()> onMessage;
  std::map<std::tuple<vcl::RegistryRoot, std::string, std::string>, std::string> registry;
  std::vector<std::string> registryReads;
  std::map<std::tuple<std::string, std::string, std::string>, std::string> profiles;
  std::string failProfileKey;
  std::vector<std::string> opened;
  int shellResult = 42;
  std::string date = "3/5/2024";
  int inputLanguage = 0x0409;
};
