// Fuzz target: the layout file reader over arbitrary text. It never fails, places each id in
// one record, names the lines it skips by their numbers, in order, and reading the same text
// again into its own records changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macros/model/layout_file.h"
#include "platform/base/text_lines.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

class Picture : public ViewImage {
 public:
  int Width() const override { return 1; }
  int Height() const override { return 1; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  LayoutReadOptions options;
  options.layoutFolder = "C:\\Dev\\Pad\\";
  options.ledWidth = 16;
  options.ledHeight = 16;
  options.customImage = [](const std::string& name) -> std::shared_ptr<ViewImage> {
    if (name.size() % 2) return nullptr;
    return std::make_shared<Picture>();
  };
  std::vector<KeyRecord> keys;
  const LayoutText layout = ReadLayoutText(text, options, keys);

  Check(keys.size() <= 256);
  bool seen[256] = {};
  for (const KeyRecord& k : keys) {
    Check(!seen[k.keyId]);
    seen[k.keyId] = true;
    Check(k.capKind == kPlainKey && k.entries.empty());
  }
  Check(layout.leds.size() <= size / 4 + 1);
  Check(layout.imagesFolder.empty() || layout.imagesFolder.back() == '\\');
  const std::size_t lines = SplitFileLines(text, kLayoutLineChars).size();
  std::size_t last = 0;
  for (const std::string& note : layout.refused) {
    Check(note.starts_with("line "));
    const std::size_t number = std::strtoul(note.c_str() + 5, nullptr, 10);
    Check(number > last && number <= lines);
    Check(note.find(": ") != std::string::npos);
    last = number;
  }

  std::vector<KeyRecord> again = keys;
  const LayoutText second = ReadLayoutText(text, options, again);
  Check(again.size() == keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    Check(again[i].keyId == keys[i].keyId);
    Check(again[i].key == keys[i].key && again[i].label == keys[i].label);
    Check(again[i].plugin == keys[i].plugin);
  }
  Check(second.leds.size() == layout.leds.size());
  Check(second.imagesFolder == layout.imagesFolder);
  Check(second.refused == layout.refused);
  return 0;
}
