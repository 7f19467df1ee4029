#include "runtime/preprocessor_fuzz.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/define_table.h"
#include "runtime/include_loader.h"
#include "runtime/memory_file_access.h"
#include "runtime/preprocessor_lexer.h"
#include "runtime/text_streams.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

int FuzzPreprocessorLexer(const unsigned char* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  LexemeList list;
  TokenizeScriptText(text, list);

  std::string plain;
  std::size_t lineTexts = 0;
  for (const Lexeme& lexeme : list) {
    Check(!lexeme.text.empty());
    if (IsDirectiveLine(lexeme))
      lineTexts += lexeme.text.size();
    else
      plain += lexeme.text;
  }
  Check(lineTexts <= size);
  // Without directives and character literals the lexemes are the text, cut into pieces.
  if (text.find_first_of("#'") == std::string_view::npos) Check(plain == text);
  Check(plain.size() <= 2 * size);

  BufferOutputStream printed;
  PrintLexemes(list, printed);
  Check(printed.Size() <= plain.size() + lineTexts + list.size());

  // Defines drawn from the text itself, some naming themselves or growing without end.
  DefineTable defines;
  DefineString(defines, "_X", "a_X");
  DefineString(defines, "__CMD_ID__", "7");
  int made = 0;
  for (auto it = list.begin(); it != list.end() && made < 16; ++it) {
    if (it->kind != LexemeKind::Identifier) continue;
    auto next = std::next(it);
    DefineString(defines, it->text, next == list.end() ? it->text : next->text);
    ++made;
  }
  for (auto it = list.begin(); it != list.end();) {
    // One directive line per whole-line lexeme (its later '#'s are inside that line).
    if (it->kind == LexemeKind::Directive && it != list.begin() && IsDirectiveLine(*std::prev(it))) {
      LexemeList line;
      for (auto j = it; j != list.end() && j->kind != LexemeKind::Newline; ++j)
        if (j->kind != LexemeKind::Blank) line.push_back(*j);
      ParsedDefine parsed = ParseDefine(line, defines);
      Check(parsed.status == DefineStatus::Ok || !DefineStatusMessage(parsed.status).empty());
    }
    if (it->kind == LexemeKind::Identifier) {
      ExpandResult expanded = ExpandIdentifier(list, defines, it, list.end());
      Check(it->text.size() <= kMaxExpandedLexemeBytes + size);
      Check(expanded.next != it);
      it = expanded.next;
    } else {
      ++it;
    }
  }
  return 0;
}

int FuzzIncludeSplit(const unsigned char* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  MemoryFileAccess files;
  std::string main;
  SplitReport report = SplitIncludes(text, main, &files);
  Check(main.size() <= size);
  Check(report.written.size() + report.failed.size() == files.WriteLog().size());

  // A file without marker lines or bare LFs comes back byte for byte.
  if (text.find("#end_include: ") == std::string_view::npos &&
      text.find("#including_file: ") == std::string_view::npos &&
      AddCarriageReturns(text) == text) {
    files.Put("C:\\s\\f.oxs", std::string(text));
    IncludeLoader loader(files, "C:\\s", "Root", "#include \"f.oxs\"\r\n");
    std::string combined;
    Check(loader.LoadWithIncludes("f.oxs", combined));
    files.Put("C:\\s\\f.oxs", "changed");
    std::string rest;
    Check(SplitIncludes(combined, rest, &files).wellFormed);
    Check(rest.empty());
    Check(*files.Get("C:\\s\\f.oxs") == text);
  }
  return 0;
}
