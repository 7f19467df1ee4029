#include "ui/legend_editor/caption_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "ui/legend_editor/caption_rtf.h"

namespace {

constexpr std::string_view kRtfStart = "{\\rtf";

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t GetU32(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return v;
}

void PutFloat(std::string& out, float f) { PutU32(out, std::bit_cast<std::uint32_t>(f)); }
float GetFloat(std::string_view bytes, std::size_t at) { return std::bit_cast<float>(GetU32(bytes, at)); }

std::string RecordName(std::size_t index) { return "record " + std::to_string(index + 1); }

}  // namespace

std::optional<std::string> EncodeCaptionFile(const std::vector<CaptionContent>& captions) {
  std::string out;
  for (const CaptionContent& c : captions) {
    PutFloat(out, c.image.x);
    PutFloat(out, c.image.y);
    PutFloat(out, c.image.w);
    PutFloat(out, c.image.h);
    const std::size_t units = std::min(c.imagePath.size(), kCaptionPathUnits - 1);
    for (std::size_t i = 0; i < kCaptionPathUnits; ++i) {
      const char16_t u = i < units ? c.imagePath[i] : u'\0';
      out += static_cast<char>(u & 0xFF);
      out += static_cast<char>(u >> 8);
    }
    const std::size_t next = out.size() + 4 + c.rtf.size();
    if (next > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
    PutU32(out, static_cast<std::uint32_t>(next));
    out += c.rtf;
  }
  return out;
}

CaptionFileRead DecodeCaptionFile(std::string_view bytes) {
  CaptionFileRead read;
  if (bytes.empty()) read.error = "it is empty";
  if (bytes.size() > kMaxCaptionFileBytes) read.error = "it is too large";
  std::size_t text = 0;
  std::size_t at = 0;
  while (read.Ok() && at < bytes.size()) {
    const std::string name = RecordName(read.captions.size());
    if (bytes.size() - at < kCaptionRecordHeader) {
      read.error = name + " is cut short";
      break;
    }
    CaptionContent c;
    c.image = {GetFloat(bytes, at), GetFloat(bytes, at + 4), GetFloat(bytes, at + 8), GetFloat(bytes, at + 12)};
    if (!std::isfinite(c.image.x) || !std::isfinite(c.image.y) || !std::isfinite(c.image.w) ||
        !std::isfinite(c.image.h)) {
      read.error = name + " has a picture rectangle that is not a number";
      break;
    }
    bool ended = false;
    for (std::size_t i = 0; i < kCaptionPathUnits && !ended; ++i) {
      const std::size_t p = at + 16 + 2 * i;
      const char16_t u = static_cast<char16_t>(static_cast<unsigned char>(bytes[p]) |
                                               (static_cast<unsigned char>(bytes[p + 1]) << 8));
      if (u == u'\0') ended = true;
      else c.imagePath += u;
    }
    if (!ended) {
      read.error = name + " has a picture path without its end";
      break;
    }
    const std::size_t textStart = at + kCaptionRecordHeader;
    const std::uint32_t next = GetU32(bytes, textStart - 4);
    if (next < textStart || next > bytes.size()) {
      read.error = name + " points outside the file";
      break;
    }
    c.rtf.assign(bytes.substr(textStart, next - textStart));
    if (!c.rtf.empty()) {
      if (c.rtf.compare(0, kRtfStart.size(), kRtfStart) != 0) {
        read.error = name + " holds no caption text";
        break;
      }
      const CaptionRtfCheck check = CheckCaptionRtf(c.rtf);
      if (!check.fault.empty()) {
        read.error = name + " " + check.fault;
        break;
      }
      text += check.textChars;
      if (text > kMaxCaptionFileTextChars) {
        read.error = name + " takes the file past the text a sheet of captions holds";
        break;
      }
    }
    read.captions.push_back(std::move(c));
    at = next;
  }
  if (!read.Ok()) read.captions.clear();
  return read;
}
