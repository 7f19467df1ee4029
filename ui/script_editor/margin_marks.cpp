#include "ui/script_editor/margin_marks.h"

#include <algorithm>

void MarginMarks::AddBreakpoint(int id) {
  if (!HasBreakpoint(id)) breakpoints_.push_back(id);
}

void MarginMarks::RemoveBreakpoint(int id) { std::erase(breakpoints_, id); }

bool MarginMarks::HasBreakpoint(int id) const {
  return std::find(breakpoints_.begin(), breakpoints_.end(), id) != breakpoints_.end();
}

void MarginMarks::SetSectionKey(int indexOrKey) {
  sectionKey_ = indexOrKey >= 0 && indexOrKey < kMaxSectionIndex ? indexOrKey << kSectionShift
                                                                   : indexOrKey;
}

std::vector<int> MarginMarks::BreakpointLinesShown() const {
  std::vector<int> lines;
  for (int id : breakpoints_)
    if ((id & ~kLineMask) == sectionKey_) lines.push_back(LineOf(id));
  return lines;
}
