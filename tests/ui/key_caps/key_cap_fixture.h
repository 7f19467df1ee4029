#pragma once
// The keys of the sample 24-key keypad (four rows of six 60 by 60 keys, no gaps, ids as its
// layout gives them) and a recorder of what the key-cap code asks of the program.
#include <memory>
#include <string>
#include <vector>

#include "macros/model/macro_context.h"
#include "ui/key_caps/key_cap_commands.h"

namespace testsupport {

// Row by row, left to right.
inline const std::vector<int>& PadIds() {
  static const std::vector<int> ids = {0,    1,    2,    3,    4,    5,    6,    7,    0x10, 0x11, 0x12, 0x13,
                                       0x14, 0x15, 0x16, 0x17, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27};
  return ids;
}

inline std::vector<KeyRecord> PadKeys() {
  std::vector<KeyRecord> keys;
  for (std::size_t i = 0; i < PadIds().size(); ++i) {
    KeyRecord k;
    k.keyId = static_cast<std::uint8_t>(PadIds()[i]);
    const float x = 20 + 60.f * static_cast<float>(i % 6), y = 45 + 60.f * static_cast<float>(i / 6);
    k.key = {x, y, 60, 60};
    k.label = {x + 2, y + 44, 56, 14};
    keys.push_back(k);
  }
  return keys;
}

class NamedImage : public ViewImage {
 public:
  explicit NamedImage(std::string n) : name(std::move(n)) {}
  int Width() const override { return 60; }
  int Height() const override { return 60; }
  std::string name;
};

inline std::string ImageName(const std::shared_ptr<ViewImage>& image) {
  auto* named = dynamic_cast<NamedImage*>(image.get());
  return named ? named->name : "";
}

// Records every request in order; questions are answered from `answers` (then Yes/OK).
class RecordingPort : public KeyCapCommandPort {
 public:
  std::vector<std::string> events;
  std::vector<bool> answers;
  std::vector<int> held;  // what the next flushes find

  std::shared_ptr<ViewImage> CapImage(const std::string& name) override {
    return std::make_shared<NamedImage>(name);
  }
  std::shared_ptr<ViewImage> SpacerImage() override { return std::make_shared<NamedImage>("KeySpacer.png"); }
  void SetKeyEnabled(int keyId, bool enabled) override {
    events.push_back((enabled ? "enable " : "disable ") + std::to_string(keyId));
  }
  void Redraw() override { events.push_back("redraw"); }
  void WriteScript() override { events.push_back("write"); }
  void CancelEditor() override { events.push_back("cancel editor"); }
  bool Ask(KeyCapQuestion q) override {
    events.push_back(std::string("ask ") + TextOf(q).caption);
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  std::vector<int> FlushHeldKeys() override {
    events.push_back("flush");
    return held;
  }
  void OpenDetectionDialog() override { events.push_back("detection dialog"); }
  void OpenRemovalDialog() override { events.push_back("removal dialog"); }

  std::string Events() const {
    std::string out;
    for (const std::string& e : events) out += (out.empty() ? "" : ", ") + e;
    return out;
  }
};

}  // namespace testsupport
