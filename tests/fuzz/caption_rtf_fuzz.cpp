// Fuzz target: the check of a caption's RTF before a box reads it. What it passes is inside its
// bounds and balanced (one more closing brace, or one more opening one, is refused), counts no
// more text than it has bytes, and counts the same text inside one more group.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tests/fuzz/fuzz_check.h"
#include "ui/legend_editor/caption_rtf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string rtf(reinterpret_cast<const char*>(data), size);
  const CaptionRtfCheck check = CheckCaptionRtf(rtf);
  if (!check.fault.empty()) return 0;
  Check(rtf.size() <= kMaxCaptionRtfBytes);
  Check(check.textChars <= kMaxCaptionTextChars);
  Check(check.textChars <= rtf.size());
  // Balanced: a brace more either way is refused.
  // (The two letters end an escape the text may end in, which would take the brace.)
  Check(!CheckCaptionRtf(rtf + "xx}").fault.empty());
  Check(!CheckCaptionRtf("{" + rtf).fault.empty());
  // A group around the whole passes while the depth allows it, and counts the same text.
  const std::string wrapped = "{" + rtf + "}";
  const CaptionRtfCheck again = CheckCaptionRtf(wrapped);
  if (again.fault.empty()) Check(again.textChars == check.textChars);
  return 0;
}
