// Fuzz target: the caption file reader over arbitrary bytes. It either refuses the file whole or
// reads records that write back to the same bytes (but for the room after a path's zero unit,
// which the reader does not keep), inside the file's bounds, each text one a box may read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/legend_editor/caption_file.h"
#include "ui/legend_editor/caption_rtf.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const CaptionFileRead read = DecodeCaptionFile(bytes);
  if (!read.Ok()) {
    Check(read.captions.empty());
    return 0;
  }
  Check(!read.captions.empty() && read.captions.size() <= size / kCaptionRecordHeader);
  Check(size <= kMaxCaptionFileBytes);
  const std::optional<std::string> written = EncodeCaptionFile(read.captions);
  Check(written.has_value() && written->size() == size);
  const CaptionFileRead again = DecodeCaptionFile(*written);
  Check(again.Ok() && again.captions == read.captions);
  std::size_t at = 0;
  std::size_t text = 0;
  for (const CaptionContent& c : read.captions) {
    if (!c.rtf.empty()) {
      const CaptionRtfCheck rtf = CheckCaptionRtf(c.rtf);
      Check(rtf.fault.empty());
      text += rtf.textChars;
    }
    Check(c.imagePath.size() < kCaptionPathUnits);
    Check(c.imagePath.find(u'\0') == std::u16string::npos);
    Check(bytes.substr(at, 16) == std::string_view(*written).substr(at, 16));
    at += kCaptionRecordHeader;
    Check(bytes.substr(at, c.rtf.size()) == c.rtf);
    at += c.rtf.size();
  }
  Check(at == size);
  Check(text <= kMaxCaptionFileTextChars);
  return 0;
}
