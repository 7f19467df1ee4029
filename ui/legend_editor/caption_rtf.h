#pragma once
// What the RTF of one caption may hold before a rich-edit box reads it. The boxes' reader keeps
// the state of 32 open groups and reads past that into memory of its own; it reads a control
// word, and a name of a font table or style sheet, into buffers of 1,024 bytes without a
// bound; and it keeps far more memory for a long caption than the text itself takes, so a few
// long captions exhaust a 32-bit program. What the editor writes stays far inside: three
// levels of groups, control words of a few letters, font names of at most 31 characters, and
// the few words a key's label shows.

#include <cstddef>
#include <string>
#include <string_view>

// Groups open at once.
inline constexpr int kMaxCaptionRtfDepth = 32;
// One caption's RTF, formatting and font table included.
inline constexpr std::size_t kMaxCaptionRtfBytes = 64u << 10;
// The characters of one caption's text.
inline constexpr std::size_t kMaxCaptionTextChars = 4096;
// A control word's letters and its number's digits (RTF itself allows 32 and a 16-bit number).
inline constexpr std::size_t kMaxRtfWordLetters = 32;
inline constexpr std::size_t kMaxRtfNumberDigits = 10;
// A name in a font table or style sheet.
inline constexpr std::size_t kMaxRtfNameChars = 255;

struct CaptionRtfCheck {
  // Why the text cannot go into a box, said of its record ("nests its text ..."); empty when
  // it can.
  std::string fault;
  // At least as many characters as the text puts into a box.
  std::size_t textChars = 0;
};
CaptionRtfCheck CheckCaptionRtf(std::string_view rtf);
