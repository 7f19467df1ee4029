#pragma once
// The caption file (".klc") of the legend editor: one record per caption, in caption order,
// with neither header nor count. A record is the picture's rectangle (four little-endian 32-bit
// floats), the picture's path (260 UTF-16 units, ended by a zero unit; empty: no picture), the
// absolute file offset of the next record as a little-endian int32, and then the caption's text
// as RTF up to that offset.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The picture of a caption, in pixels relative to its box.
struct ImageRect {
  float x = 0, y = 0, w = 0, h = 0;
  bool operator==(const ImageRect&) const = default;
};

inline constexpr std::size_t kCaptionPathUnits = 260;
// Rectangle, path and next-record offset.
inline constexpr std::size_t kCaptionRecordHeader = 16 + kCaptionPathUnits * 2 + 4;
// A whole file, and the characters of all its captions' text: far more than a sheet of
// captions holds (each caption's own bounds are its RTF's, caption_rtf.h).
inline constexpr std::size_t kMaxCaptionFileBytes = 1u << 20;
inline constexpr std::size_t kMaxCaptionFileTextChars = 32768;

struct CaptionContent {
  ImageRect image;
  std::u16string imagePath;  // at most kCaptionPathUnits - 1 units; empty: no picture
  std::string rtf;
  bool operator==(const CaptionContent&) const = default;
};

// The file's bytes; nothing when it would pass the offsets' 2 GiB. A longer path is cut to
// what the record holds.
std::optional<std::string> EncodeCaptionFile(const std::vector<CaptionContent>& captions);

struct CaptionFileRead {
  std::vector<CaptionContent> captions;
  std::string error;  // why the file was refused; empty when it was read
  bool Ok() const { return error.empty(); }
};
// Every record of a whole file, or the first fault of a damaged one: an empty file, one past
// the bounds above, a record cut short, an offset outside the file, a rectangle that is not a
// number, a path without its zero unit, text that is not RTF or that no box should read
// (CheckCaptionRtf).
CaptionFileRead DecodeCaptionFile(std::string_view bytes);
