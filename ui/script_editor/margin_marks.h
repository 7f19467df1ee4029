#pragma once
// What the margin beside the script text marks: the current line and the breakpoints. A line
// id is the 0-based line in its low 20 bits and the section key above them, so breakpoints of
// several sections live side by side and only those of the section shown are drawn.

#include <vector>

class MarginMarks {
 public:
  static constexpr int kSectionShift = 20;
  static constexpr int kLineMask = (1 << kSectionShift) - 1;
  static constexpr int kMaxSectionIndex = 4096;

  static int LineId(int sectionIndex, int line) { return sectionIndex << kSectionShift | (line & kLineMask); }
  static int LineOf(int id) { return id & kLineMask; }

  // -1: none.
  void SetCurrentLine(int line) { currentLine_ = line; }
  int CurrentLine() const { return currentLine_; }

  void AddBreakpoint(int id);
  void RemoveBreakpoint(int id);
  void ClearBreakpoints() { breakpoints_.clear(); }
  bool HasBreakpoint(int id) const;
  const std::vector<int>& Breakpoints() const { return breakpoints_; }

  // An index below 4096 is a section index (shifted into place); a larger value is a key.
  void SetSectionKey(int indexOrKey);
  int SectionKey() const { return sectionKey_; }
  // The lines of the breakpoints of the section shown, in the order they were set.
  std::vector<int> BreakpointLinesShown() const;

 private:
  int currentLine_ = -1;
  int sectionKey_ = -1;
  std::vector<int> breakpoints_;
};
