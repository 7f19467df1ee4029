#include "ui/script_editor/compile_messages.h"

#include <climits>

namespace {

constexpr int kSectionShift = 20;
constexpr int kLineMask = (1 << kSectionShift) - 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SkipSpaces(std::string_view text, std::size_t& i) {
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
}

void SkipSpacesAndColons(std::string_view text, std::size_t& i) {
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == ':')) ++i;
}

bool ReadNumber(std::string_view text, std::size_t& i, int& value) {
  std::size_t start = i;
  long long v = 0;
  while (i < text.size() && IsDigit(text[i])) {
    if (v < INT_MAX) v = v * 10 + (text[i] - '0');
    ++i;
  }
  if (i == start) return false;
  value = v > INT_MAX ? INT_MAX : static_cast<int>(v);
  return true;
}

struct Position {
  std::size_t open = 0;   // the "("
  std::size_t after = 0;  // just past the ")"
  int row = 0;
  int column = 0;
};

// A position at open: "(" digits [one separator, digits] ")", followed by the severity part
// (a colon, or a word after a blank).
bool PositionAt(std::string_view text, std::size_t open, Position& p) {
  std::size_t i = open + 1;
  SkipSpaces(text, i);
  if (!ReadNumber(text, i, p.row)) return false;
  p.column = 0;
  SkipSpaces(text, i);
  if (i < text.size() && text[i] != ')') {
    ++i;  // the separator
    SkipSpaces(text, i);
    if (!ReadNumber(text, i, p.column)) return false;
    SkipSpaces(text, i);
  }
  if (i >= text.size() || text[i] != ')') return false;
  p.open = open;
  p.after = ++i;
  SkipSpaces(text, i);
  if (i < text.size() && text[i] == ':') return true;
  std::string_view rest = text.substr(i);
  for (std::string_view severity : {"Error", "Warning", "Info"})
    if (rest.starts_with(severity)) return true;
  return false;
}

}  // namespace

CompileMessage ParseCompileMessageLine(std::string_view line, bool fromEngine) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  CompileMessage m;
  Position p;
  bool found = false;
  for (std::size_t open = line.find('('); open != std::string_view::npos;
       open = line.find('(', open + 1)) {
    if (PositionAt(line, open, p)) {
      found = true;
      break;
    }
  }
  if (!found) {
    m.message = std::string(line);
    return m;
  }
  std::string_view place = line.substr(0, p.open);
  while (!place.empty() && place.back() == ' ') place.remove_suffix(1);
  m.place = std::string(place);
  m.hasPosition = true;
  m.column = p.column;
  if (fromEngine) {
    m.section = p.row >> kSectionShift;
    m.line = p.row & kLineMask;
  } else {
    m.line = p.row;
  }
  std::size_t i = p.after;
  SkipSpacesAndColons(line, i);
  std::size_t severityStart = i;
  while (i < line.size() && line[i] != ' ' && line[i] != ':') ++i;
  m.severity = std::string(line.substr(severityStart, i - severityStart));
  SkipSpacesAndColons(line, i);
  m.message = std::string(line.substr(i));
  return m;
}

void CompileMessageStream::Add(std::string_view text, bool fromEngine) {
  if (text.empty() || lines_.size() >= kMaxLines) return;
  lines_.push_back({std::string(text), fromEngine});
}

void CompileMessageStream::Write(const char* text) {
  if (text) Add(text, true);
}

void CompileMessageStream::PreprocessorWriter::Write(const char* text, std::size_t length) {
  if (text) owner_.Add(std::string_view(text, length), false);
}

bool CompileMessageStream::ParseCompileMessage(std::size_t index, CompileMessage& out) const {
  if (index >= lines_.size()) return false;
  out = ParseCompileMessageLine(lines_[index].text, lines_[index].fromEngine);
  return true;
}
