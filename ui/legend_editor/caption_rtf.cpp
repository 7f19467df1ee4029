#include "ui/legend_editor/caption_rtf.h"

#include <algorithm>
#include <array>

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Control words that put a character into the text.
bool IsCharacterWord(std::string_view word) {
  static constexpr std::array<std::string_view, 12> kWords = {
      "tab", "line", "bullet", "emdash", "endash", "emspace", "enspace", "qmspace",
      "lquote", "rquote", "ldblquote", "rdblquote"};
  for (std::string_view w : kWords)
    if (w == word) return true;
  return false;
}

// Reads the text as the boxes' reader splits it into groups, control words and characters.
class RtfScan {
 public:
  explicit RtfScan(std::string_view rtf) : rtf_(rtf) {}

  CaptionRtfCheck Run() {
    CaptionRtfCheck check;
    check.fault = Scan();
    if (check.fault.empty() && depth_ != 0) check.fault = kUnbalanced;
    if (check.fault.empty() && text_ > kMaxCaptionTextChars) check.fault = "holds more text than a caption can";
    check.textChars = text_;
    return check;
  }

 private:
  static constexpr const char* kUnbalanced = "has unbalanced braces in its text";
  static constexpr const char* kLongName = "has a font or style name that is too long";

  std::string Scan() {
    if (rtf_.size() > kMaxCaptionRtfBytes) return "is too large";
    while (at_ < rtf_.size()) {
      const char c = rtf_[at_++];
      switch (c) {
        case '{':
          if (++depth_ > kMaxCaptionRtfDepth)
            return "nests its text deeper than " + std::to_string(kMaxCaptionRtfDepth) + " groups";
          groupStart_ = true;
          name_ = 0;
          break;
        case '}':
          if (depth_ == 0) return kUnbalanced;
          if (depth_ == tableDepth_) tableDepth_ = 0;
          --depth_;
          groupStart_ = false;
          name_ = 0;
          break;
        case '\\':
          if (std::string fault = ControlWord(); !fault.empty()) return fault;
          break;
        case '\r':
        case '\n':
          // Line ends of the RTF itself are no text.
          break;
        case ';':
        case '\t':
          ++text_;
          groupStart_ = false;
          name_ = 0;
          break;
        default:
          groupStart_ = false;
          if (!Character()) return kLongName;
      }
    }
    return {};
  }

  // A character of the text, and of a name when inside a font table or style sheet.
  bool Character() {
    ++text_;
    return tableDepth_ == 0 || ++name_ <= kMaxRtfNameChars;
  }

  // After a backslash: a control word with its number, or a control symbol.
  std::string ControlWord() {
    if (at_ >= rtf_.size()) return {};
    const char first = rtf_[at_];
    if (!IsLetter(first)) {
      ++at_;
      // "\*" marks a group whose first control word still follows.
      if (first != '*') groupStart_ = false;
      if (first == '\'') {
        // A character by its code: two hex digits.
        at_ = std::min(at_ + 2, rtf_.size());
        return Character() ? std::string() : kLongName;
      }
      if (first == '{' || first == '}' || first == '\\') return Character() ? std::string() : kLongName;
      // Other symbols (a hard space, an optional hyphen, a paragraph) end a name.
      if (first != '\r' && first != '\n') ++text_;
      name_ = 0;
      return {};
    }
    const std::size_t wordStart = at_;
    while (at_ < rtf_.size() && IsLetter(rtf_[at_])) ++at_;
    const std::string_view word = rtf_.substr(wordStart, at_ - wordStart);
    if (word.size() > kMaxRtfWordLetters) return "has a control word that is too long";
    if (at_ < rtf_.size() && rtf_[at_] == '-') ++at_;
    const std::size_t digitsStart = at_;
    while (at_ < rtf_.size() && IsDigit(rtf_[at_])) ++at_;
    const std::size_t digits = at_ - digitsStart;
    if (digits > kMaxRtfNumberDigits) return "has a control word that is too long";
    if (at_ < rtf_.size() && rtf_[at_] == ' ') ++at_;
    if (groupStart_ && tableDepth_ == 0 && (word == "fonttbl" || word == "stylesheet")) tableDepth_ = depth_;
    if ((word == "u" && digits > 0) || IsCharacterWord(word)) ++text_;
    groupStart_ = false;
    name_ = 0;
    return {};
  }

  std::string_view rtf_;
  std::size_t at_ = 0;
  int depth_ = 0;
  // Just after a group's opening brace (and a "\*"): its first control word names it.
  bool groupStart_ = false;
  // The depth of the font table or style sheet being read; 0 outside both.
  int tableDepth_ = 0;
  std::size_t name_ = 0;
  std::size_t text_ = 0;
};

}  // namespace

CaptionRtfCheck CheckCaptionRtf(std::string_view rtf) { return RtfScan(rtf).Run(); }
