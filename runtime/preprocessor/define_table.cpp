#include "runtime/preprocessor/define_table.h"

#include <utility>

namespace {

void DefineOne(DefineTable& defines, const std::string& name, std::string text, LexemeKind kind) {
  DefineEntry entry;
  entry.value.push_back(Lexeme{std::move(text), kind});
  defines.insert_or_assign(name, std::move(entry));
}

// The define that replaces text: the first in name order that matches it.
DefineTable::const_iterator FirstMatch(const DefineTable& defines, std::string_view text) {
  auto best = defines.find(text);
  // Only suffixes after the last lower-case letter can be upper-case names that begin '_'.
  std::size_t from = text.find_last_of("abcdefghijklmnopqrstuvwxyz");
  from = from == std::string_view::npos ? 0 : from + 1;
  for (std::size_t k = from; k < text.size(); ++k) {
    if (text[k] != '_') continue;
    auto it = defines.find(text.substr(k));
    if (it != defines.end() && (best == defines.end() || it->first < best->first)) best = it;
  }
  return best;
}

}  // namespace

std::string_view DefineStatusMessage(DefineStatus status) {
  switch (status) {
    case DefineStatus::Ok: return "";
    case DefineStatus::NoArguments: return "Define directive without arguments.";
    case DefineStatus::ExpectedArguments: return "Expected arguments.";
    case DefineStatus::ExpectedIdentifier: return "Expected identifier.";
    case DefineStatus::ExpectedClosingParenthesis: return "Expected closing parantheses.";
    case DefineStatus::UnexpectedEndOfLine: return "0x0FA3 Unexpected end of line.";
  }
  return "";
}

ParsedDefine ParseDefine(LexemeList arguments, DefineTable& defines) {
  ParsedDefine result;
  if (!arguments.empty()) arguments.pop_front();
  if (arguments.empty()) {
    result.status = DefineStatus::NoArguments;
    return result;
  }
  result.name = arguments.front().text;
  arguments.pop_front();
  DefineEntry entry;
  if (arguments.size() >= 2) {
    const Lexeme& first = arguments.front();
    if (first.kind == LexemeKind::Directive && first.text == "#") {
      arguments.pop_front();
      auto fail = [&](DefineStatus status) {
        result.status = status;
        return result;
      };
      if (arguments.empty() || arguments.front().text != "(")
        return fail(DefineStatus::ExpectedArguments);
      arguments.pop_front();
      int index = 0;
      for (;;) {
        if (arguments.empty()) return fail(DefineStatus::UnexpectedEndOfLine);
        if (arguments.front().text == ")") break;
        if (arguments.front().kind != LexemeKind::Identifier)
          return fail(DefineStatus::ExpectedIdentifier);
        entry.parameters.emplace(arguments.front().text, index++);
        arguments.pop_front();
        if (arguments.empty()) return fail(DefineStatus::UnexpectedEndOfLine);
        if (arguments.front().text == ",") {
          arguments.pop_front();
          continue;
        }
        if (arguments.front().text == ")") break;
        return fail(DefineStatus::ExpectedClosingParenthesis);
      }
      arguments.pop_front();
    }
    for (auto it = arguments.begin(); it != arguments.end();) {
      ExpandResult expanded = ExpandIdentifier(arguments, defines, it, arguments.end());
      result.expansionLimitReached |= expanded.limitReached;
      it = expanded.next;
    }
  }
  entry.value = std::move(arguments);
  defines.insert_or_assign(result.name, std::move(entry));
  return result;
}

ExpandResult ExpandIdentifier(LexemeList&, const DefineTable& defines,
                              LexemeList::iterator position, LexemeList::iterator end) {
  ExpandResult result;
  if (position == end) {
    result.next = end;
    return result;
  }
  std::string& text = position->text;
  for (int replacements = 0;; ++replacements) {
    auto match = FirstMatch(defines, text);
    if (match == defines.end()) break;
    const LexemeList& value = match->second.value;
    std::string replaced = text.substr(0, text.size() - match->first.size());
    if (!value.empty()) replaced += value.front().text;
    if (replacements >= kMaxExpansionsPerLexeme || replaced == text ||
        replaced.size() > kMaxExpandedLexemeBytes) {
      result.limitReached = true;
      break;
    }
    text = std::move(replaced);
  }
  auto next = std::next(position);
  while (next != end && next->kind == LexemeKind::Blank) ++next;
  result.next = next;
  return result;
}

void DefineLine(DefineTable& defines, int line) {
  DefineOne(defines, "__LINE__", std::to_string(line), LexemeKind::Number);
}

void DefineFile(DefineTable& defines, const std::string& file) {
  // A string constant is read with escapes: a path's backslashes would turn "C:\temp" into a tab.
  // Bytes from 0x80 on go in as \xNN: the script compiler reads raw ones as UTF-8, and an ANSI
  // path is not, so the script would get other bytes than the path's.
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string literal = "\"";
  for (char c : file) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      literal += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
      continue;
    }
    if (c == '\\' || c == '"') literal += '\\';
    literal += c;
  }
  DefineOne(defines, "__FILE__", literal + "\"", LexemeKind::String);
}

void DefineString(DefineTable& defines, const std::string& name, const std::string& text) {
  DefineOne(defines, name, text, LexemeKind::String);
}

std::string MakeIdentifier(std::string_view text) {
  if (!text.empty() && text.front() == '"') text = text.size() >= 2 ? text.substr(1, text.size() - 2) : "";
  std::string out(text);
  for (char& c : out)
    if (c == '\0' || kIdentifierChars.find(c) == std::string_view::npos) c = '_';
  return out;
}
