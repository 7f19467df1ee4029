#include "ui/layers/program_choice.h"

namespace {

std::string Cut(std::string_view text) { return std::string(text.substr(0, kMaxChoiceChars)); }

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && LowerAscii(std::string(a)) == LowerAscii(std::string(b));
}

}  // namespace

ProgramLayerChoice ChoiceOfExe(std::string_view exe, const ExeNameTable& table, LowerCaseFunction lower) {
  const std::string key = lower(std::string(exe));
  if (key.empty() || SameText(key, kOwnProgramExe)) return {};
  const auto known = table.find(key);
  if (known != table.end()) return {Cut(known->second), key};
  return {Cut(std::string_view(key).substr(0, key.find('.'))), key};
}

std::vector<RunningProgramItem> RunningProgramList(const std::vector<std::string>& exeNames,
                                                   const ExeNameTable& table, LowerCaseFunction lower) {
  std::vector<RunningProgramItem> items;
  for (const std::string& exe : exeNames) {
    const std::string key = lower(exe);
    if (key.empty() || SameText(key, kOwnProgramExe)) continue;
    const auto known = table.find(key);
    RunningProgramItem item{known != table.end() ? known->second : key.substr(0, key.find('.')), key};
    if (item.text.empty()) continue;  // ".exe" alone names nothing to choose
    bool listed = false;
    for (const RunningProgramItem& i : items) listed = listed || SameText(i.text, item.text);
    if (!listed) items.push_back(std::move(item));
  }
  return items;
}

ProgramLayerChoice ChoiceOfItem(const RunningProgramItem& item) { return {Cut(item.text), item.exe}; }
