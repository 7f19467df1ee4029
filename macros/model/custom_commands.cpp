#include "macros/model/custom_commands.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "macros/model/text_code_page.h"

namespace {

bool IsCommandFile(const FolderEntry& e) {
  if (e.isFolder || e.name.size() <= 4) return false;
  std::string ext = e.name.substr(e.name.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
  return ext == ".oxc";
}

std::string WithoutExtension(const std::string& name) {
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::optional<CommandMenuNode> BuildLevel(FolderLister& lister, const std::string& folder,
                                          const std::string& relative, std::string caption,
                                          int& nextId, std::vector<std::string>& stepTexts) {
  const std::vector<FolderEntry> entries = lister.List(folder);
  std::vector<const FolderEntry*> files, folders;
  for (const FolderEntry& e : entries) {
    if (IsCommandFile(e)) files.push_back(&e);
    if (e.isFolder && !e.name.empty() && e.name[0] != '.') folders.push_back(&e);
  }
  if (files.empty() && folders.empty()) return std::nullopt;
  CommandMenuNode node;
  node.caption = std::move(caption);
  for (const FolderEntry* f : files) {
    if (nextId > kLastCustomCommandMenuId) break;
    const std::string name = WithoutExtension(f->name);
    node.children.push_back({name, nextId++, {}});
    stepTexts.push_back(CustomCommandStepText(relative, name));
  }
  for (const FolderEntry* f : folders) {
    const std::string below = relative.empty() ? f->name : relative + "\\" + f->name;
    if (auto child = BuildLevel(lister, folder + "\\" + f->name, below, WithoutExtension(f->name),
                                nextId, stepTexts))
      node.children.push_back(std::move(*child));
  }
  return node;
}

// Every number after "#define __CMD_ID__ " that is above `removed` goes one down.
template <typename Char>
void LowerCommandIds(std::basic_string<Char>& text, int removed) {
  const std::basic_string<Char> define(kCommandIdDefine.begin(), kCommandIdDefine.end());
  for (std::size_t pos = text.find(define); pos != std::basic_string<Char>::npos;
       pos = text.find(define, pos + 1)) {
    const std::size_t start = pos + define.size();
    std::size_t end = start;
    long long value = 0;
    while (end < text.size() && text[end] >= Char('0') && text[end] <= Char('9') && end - start < 9)
      value = value * 10 + (text[end++] - Char('0'));
    if (end == start || value <= removed) continue;
    const std::string lowered = std::to_string(value - 1);
    text.replace(start, end - start, std::basic_string<Char>(lowered.begin(), lowered.end()));
  }
}

}  // namespace

std::optional<CommandMenuNode> BuildCustomCommandMenu(FolderLister& lister, const std::string& folder,
                                                      std::vector<std::string>& stepTexts) {
  stepTexts.clear();
  int nextId = kFirstCustomCommandMenuId;
  return BuildLevel(lister, folder, "", "Custom Command", nextId, stepTexts);
}

std::string CustomCommandStepText(std::string_view relativeFolder, std::string_view fileName) {
  std::string text(kCustomCommandStepStart);
  if (!relativeFolder.empty()) text.append(relativeFolder).append("\\");
  return text.append(fileName).append("]");
}

std::string CustomCommandIncludeFile(std::string_view stepText) {
  std::string_view name = stepText;
  if (name.starts_with(kCustomCommandStepStart)) name.remove_prefix(kCustomCommandStepStart.size());
  if (name.ends_with(']')) name.remove_suffix(1);
  return std::string(name) + ".oxc";
}

std::string CustomCommandCode(int id) {
  return std::string(kCommandIdDefine) + std::to_string(id) + "\nRUN_COMMAND();\n";
}

int CustomCommandIdOf(std::string_view code) {
  const std::size_t pos = code.find(kCommandIdDefine);
  if (pos == std::string_view::npos) return -1;
  int value = 0;
  std::size_t i = pos + kCommandIdDefine.size(), digits = 0;
  for (; i < code.size() && code[i] >= '0' && code[i] <= '9' && digits < 9; ++i, ++digits)
    value = value * 10 + (code[i] - '0');
  return digits ? value : -1;
}

bool InsertCustomCommand(MacroContext& context, int menuId, MacroSelection* box) {
  const int index = menuId - kFirstCustomCommandMenuId;
  if (menuId > kLastCustomCommandMenuId || index < 0 ||
      index >= static_cast<int>(context.customCommandSteps.size()))
    return false;
  const std::string& stepText = context.customCommandSteps[index];
  const int id = context.customCommandCount + 1;
  const std::wstring code = WidenText(CustomCommandCode(id));
  if (!InsertMacroText(context, WidenText(stepText), &code, box)) return false;
  context.customCommandCount = id;
  context.includes[id] = CustomCommandIncludeFile(stepText);
  return true;
}

void RenumberCustomCommands(MacroContext& context) {
  const std::set<int, std::greater<int>> removed(context.removedCommandIds.begin(),
                                                 context.removedCommandIds.end());
  context.removedCommandIds.clear();
  for (int c : removed) {
    if (c <= 0 || c > context.customCommandCount) continue;
    std::map<int, std::string> includes;
    for (auto& [id, file] : context.includes)
      if (id != c) includes[id > c ? id - 1 : id] = std::move(file);
    context.includes = std::move(includes);
    --context.customCommandCount;
    for (KeyFunction& f : context.functions.items) LowerCommandIds(f.body, c);
    for (KeyRecord& key : context.keys)
      for (MacroEntry& entry : key.entries)
        for (MacroItem& code : entry.codes) LowerCommandIds(code.text, c);
  }
}
