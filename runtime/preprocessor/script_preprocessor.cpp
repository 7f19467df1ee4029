#include "runtime/preprocessor/script_preprocessor.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <utility>

#include "platform/base/file_access.h"
#include "platform/base/path_text.h"
#include "runtime/preprocessor/include_loader.h"
#include "runtime/preprocessor/preprocessor_lexer.h"
#include "runtime/preprocessor/preprocessor_pragmas.h"

namespace {

constexpr const char* kCommandIdDefine = "__CMD_ID__";

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The text without its first and last characters ("" when it has fewer than two).
std::string StripEnds(const std::string& text) {
  return text.size() < 2 ? std::string() : text.substr(1, text.size() - 2);
}

// An optional sign and the leading digits, as a decimal integer (0 when there are none),
// held to the range of int.
long long LeadingInteger(const std::string& text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL + INT_MAX);
  return negative ? -value : std::min<long long>(value, INT_MAX);
}

std::size_t LexemeLineBreaks(const Lexeme& lexeme) {
  if (lexeme.kind == LexemeKind::Newline) return 1;
  if (lexeme.kind == LexemeKind::Other || lexeme.kind == LexemeKind::String)
    return CountLineBreaks(lexeme.text);
  return 0;
}

// Puts a "once" pragma handler for one run's included-file set into the table, and takes
// it out again when the run ends.
class OncePragma : public PragmaHandler {
 public:
  OncePragma(PragmaTable& table, IncludedFileSet& set) : table_(table), set_(set) {
    for (const char* name : kOncePragmaNames) table_.Register(name, this);
  }
  ~OncePragma() override {
    for (const char* name : kOncePragmaNames) table_.Unregister(name, this);
  }
  OncePragma(const OncePragma&) = delete;
  OncePragma& operator=(const OncePragma&) = delete;
  void OnPragma(const PragmaInfo& info) override { set_.OnPragmaOnce(info.currentFile); }

 private:
  PragmaTable& table_;
  IncludedFileSet& set_;
};

class PreprocessorRun {
 public:
  PreprocessorRun(const PreprocessorSetup& setup, FileAccess& files, const std::string& rootName,
                  std::string_view rootText, const std::string& baseFolder,
                  TextOutputStream& messages, LineMap* lineMap)
      : loader_(files, baseFolder, rootName, rootText, setup.extraIncludeFolders),
        pragmas_(*setup.pragmas),
        once_(*setup.pragmas, loader_.IncludedFiles()),
        messages_(messages),
        lineMap_(lineMap),
        rootName_(rootName),
        rootAlias_(setup.rootFile.empty() ? std::string() : NormalizePath(setup.rootFile)) {}

  DefineTable& Defines() { return defines_; }

  int Run(TextOutputStream& out) {
    currentFile_ = "ERROR";
    combined_ = 0;
    errors_ = 0;
    rootFile_ = loader_.ResolveIncludePath(rootName_);
    chain_.assign(1, rootAlias_.empty() ? rootFile_ : rootAlias_);
    LexemeList list = Preprocess(rootName_, currentFile_, 0);
    PrintLexemes(list, out);
    return errors_;
  }

 private:
  using Iter = LexemeList::iterator;
  using Args = std::vector<Lexeme>;

  void Message(const std::string& file, int line, std::string_view kind, std::string_view text) {
    messages_.Write(file + " (" + std::to_string(line) + ") " + std::string(kind) + " : " +
                    std::string(text) + "\n");
  }
  void Error(std::string_view message) {
    Message(currentFile_, line_, "Error", message);
    ++errors_;
  }
  void Warning(std::string_view text) { Message(currentFile_, line_, "Warning", text); }

  void AddLineMapEntry() {
    if (lineMap_) lineMap_->push_back({currentFile_, stretchStart_, combined_ - line_});
  }
  // Changes the line in file without moving through output lines: the map gets a new stretch.
  void ShiftLine(int delta) {
    if (delta == 0) return;
    AddLineMapEntry();
    stretchStart_ = combined_;
    line_ += delta;
  }

  void DefineFileNames() {
    DefineFile(defines_, currentFile_);
    DefineLine(defines_, line_);
    DefineString(defines_, "__CCNAME__", MakeIdentifier(currentFile_));
  }

  // The lexemes of the named file, walked. A file that cannot be loaded is reported at the
  // including line (fromFile, fromLine) rather than at line 0 of a file that is not there.
  LexemeList Preprocess(const std::string& name, const std::string& fromFile, int fromLine) {
    stretchStart_ = combined_;
    line_ = 0;
    currentFile_ = loader_.ResolveIncludePath(name);
    std::string buffer;
    IncludeStatus status = loader_.Load(name, buffer);
    DefineFileNames();
    LexemeList list;
    if (status != IncludeStatus::Loaded) {
      // A file kept out by "#pragma once" is not an error: that is what the pragma is for.
      if (status == IncludeStatus::AlreadyIncluded) return list;
      std::string message = std::string(kCouldNotOpenFile) + name;
      if (status == IncludeStatus::TooLarge) message += " (too large)";
      if (status == IncludeStatus::TooManyIncludes) message += " (too many includes)";
      Message(fromFile, fromLine, "Error", message);
      ++errors_;
      return list;
    }
    if (buffer.empty()) return list;
    // The opening marker's line ends are not lines of the file.
    if (buffer.starts_with("\r\n") &&
        std::string_view(buffer).substr(2).starts_with(kIncludeBeginMarker)) {
      std::size_t markerEnd = buffer.find('\n', 2);
      if (markerEnd != std::string::npos)
        line_ =
            -static_cast<int>(CountLineBreaks(std::string_view(buffer).substr(0, markerEnd + 1)));
    }
    TokenizeScriptText(buffer, list);
    Walk(list);
    AddLineMapEntry();
    return list;
  }

  static void SkipBlanks(Iter& it, Iter end) {
    while (it != end && it->kind == LexemeKind::Blank) ++it;
  }

  void Walk(LexemeList& list) {
    Iter it = list.begin();
    while (it != list.end()) {
      switch (it->kind) {
        case LexemeKind::Newline:
          ++combined_;
          ++line_;
          ++it;
          SkipBlanks(it, list.end());
          DefineLine(defines_, line_);
          break;
        case LexemeKind::Directive:
          it = Directive(list, it);
          break;
        case LexemeKind::Identifier: {
          std::string original = it->text;
          ExpandResult expanded = ExpandIdentifier(list, defines_, it, list.end());
          if (expanded.limitReached) Error("Define replacement of " + original + " does not end.");
          it = expanded.next;
          break;
        }
        default: {
          // Block comments and strings can hold line ends of their own.
          int breaks = static_cast<int>(LexemeLineBreaks(*it));
          ++it;
          SkipBlanks(it, list.end());
          if (breaks > 0) {
            combined_ += breaks;
            line_ += breaks;
            DefineLine(defines_, line_);
          }
          break;
        }
      }
    }
  }

  // Removes the directive line at it (its whole-line comment before it stays) and carries
  // it out. Returns where the walk goes on.
  Iter Directive(LexemeList& list, Iter it) {
    Iter lineEnd = it;
    while (lineEnd != list.end() && lineEnd->kind != LexemeKind::Newline) ++lineEnd;
    Args args;
    std::string lineText;
    int breaks = 0;  // inside a block comment on the line
    for (Iter j = it; j != lineEnd; ++j) {
      // After a zero byte the lexer starts another whole-line copy of the rest of the line: a
      // copy, not text of the line. Taken in, every #global or #instance that inserts its
      // line would insert the copies again, and a short line grew past all memory.
      if (IsDirectiveLine(*j)) continue;
      lineText += j->text;
      breaks += static_cast<int>(LexemeLineBreaks(*j));
      if (j->kind != LexemeKind::Blank) args.push_back(*j);
    }
    it = list.erase(it, lineEnd);
    Iter next = Execute(list, it, args, lineText);
    ShiftLine(breaks);
    return next;
  }

  Iter Execute(LexemeList& list, Iter it, const Args& args, const std::string& lineText) {
    const std::string word = Lower(args.front().text);

    if (word == "#define") {
      DefineLexemes(args);
    } else if (word == "#undef") {
      ParsedDefine parsed = DefineLexemes(args);
      if (parsed.status == DefineStatus::Ok) defines_.erase(parsed.name);
    } else if (word == "#ifdef" || word == "#ifndef") {
      if (const Lexeme* name = OneArgument(args)) {
        bool defined = defines_.count(name->text) > 0;
        if (defined != (word == "#ifdef")) return SkipBlock(list, it);
      }
    } else if (word == "#include") {
      Include(list, it, args);
    } else if (word == "#pragma") {
      Pragma(args);
    } else if (word == "#warning") {
      if (const Lexeme* text = OneArgument(args)) Warning(text->text);
    } else if (word == "#instance" || word == "#inst" || word == "#instvar") {
      std::string name = DeclaredName(args);
      if (name.empty()) {
        Error(kExpectedArgument);
      } else {
        std::string text =
            "\n#define " + name + " " + name + "_INSTVAR_" + kCommandIdDefine + "\r\n";
        if (args.size() > 2) text += Declaration(args, lineText) + ";\r\n";
        return Insert(list, it, text);
      }
    } else if (word == "#global" || word == "#glob" || word == "#globvar") {
      std::string name = DeclaredName(args);
      if (name.empty()) {
        Error(kExpectedArgument);
      } else {
        std::string guard = "_GLOBLEVAR_" + name;
        return Insert(list, it,
                      "\n#ifndef " + guard + "\r\n#define " + guard + "\r\n" +
                          Declaration(args, lineText) + ";\r\n#endif\r\n");
      }
    } else if (word == "#define_cc") {
      if (args.size() < 2)
        Error(kExpectedArgument);
      else
        DefineString(defines_, kCommandIdDefine, args[1].text);
    } else if (word == "#delta_cc") {
      if (args.size() < 2)
        Error(kExpectedArgument);
      else
        AddToDefine(kCommandIdDefine, JoinArguments(args, 1, 3));
    } else if (word == "#define_delta") {
      if (args.size() < 2)
        Error(kExpectedArgument);
      else
        AddToDefine(args[1].text, JoinArguments(args, 2, 2));
    } else if (word == "#else" || word == "#elif") {
      // Both branches stay (or both go with the block): say so rather than stay silent.
      Warning(word + " is not supported; the line is removed.");
    }
    // "#endif" and any other word: the line is removed and nothing else happens.
    return it;
  }

  ParsedDefine DefineLexemes(const Args& args) {
    ParsedDefine parsed = ParseDefine(LexemeList(args.begin(), args.end()), defines_);
    if (parsed.status != DefineStatus::Ok) Error(DefineStatusMessage(parsed.status));
    if (parsed.expansionLimitReached)
      Error("Define replacement in the value of " + parsed.name + " does not end.");
    return parsed;
  }

  const Lexeme* OneArgument(const Args& args) {
    if (args.size() < 2) {
      Error(kExpectedArgument);
      return nullptr;
    }
    if (args.size() > 2) {
      Error(kTooManyArguments);
      return nullptr;
    }
    return &args[1];
  }

  // The texts of up to count arguments from first on, joined (so that "-" and "1" are -1).
  static std::string JoinArguments(const Args& args, std::size_t first, std::size_t count) {
    std::string text;
    for (std::size_t i = first; i < args.size() && i < first + count; ++i) text += args[i].text;
    return text;
  }

  // The variable of an #instance or #global line: the last identifier before the first "="
  // (or ";").
  static std::string DeclaredName(const Args& args) {
    std::string name;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i].text == "=" || args[i].kind == LexemeKind::Semicolon) break;
      if (args[i].kind == LexemeKind::Identifier) name = args[i].text;
    }
    return name;
  }

  // The line after the directive word, without a trailing "//" comment (which would swallow
  // the ";" put after it).
  static std::string Declaration(const Args& args, const std::string& lineText) {
    std::string text = lineText.substr(args.front().text.size());
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i].kind == LexemeKind::Other && args[i].text.starts_with("//")) {
        std::size_t at = text.rfind(args[i].text);
        if (at != std::string::npos) text.erase(at);
        break;
      }
    }
    return text;
  }

  // Splits text, cut by its last character, into lexemes before it; they are walked next.
  // Their line ends are not lines of the file.
  Iter Insert(LexemeList& list, Iter it, std::string text) {
    text.pop_back();
    LexemeList inserted;
    TokenizeScriptText(text, inserted);
    int breaks = 0;
    for (const Lexeme& lexeme : inserted) breaks += static_cast<int>(LexemeLineBreaks(lexeme));
    ShiftLine(-breaks);
    if (inserted.empty()) return it;
    Iter first = inserted.begin();
    list.splice(it, inserted);
    return first;
  }

  void AddToDefine(const std::string& name, const std::string& numberText) {
    auto entry = defines_.find(name);
    if (entry == defines_.end()) {
      DefineString(defines_, name, "0");
      entry = defines_.find(name);
    }
    LexemeList& value = entry->second.value;
    // A define made without a value counts as 0.
    if (value.empty()) value.push_back(Lexeme{"0", LexemeKind::Number});
    long long sum = LeadingInteger(value.back().text) + LeadingInteger(numberText);
    value.back().text = std::to_string(std::clamp<long long>(sum, INT_MIN, INT_MAX));
  }

  // From the newline that ends a failed #ifdef or #ifndef line to the line of its #endif.
  Iter SkipBlock(LexemeList& list, Iter newline) {
    int depth = 0;
    Iter j = newline;
    for (; j != list.end(); ++j) {
      if (j->kind != LexemeKind::Directive) continue;
      // Directive words are read without regard to case everywhere, here too.
      std::string w = Lower(j->text);
      if (w == "#ifdef" || w == "#ifndef") {
        ++depth;
      } else if (w == "#endif") {
        if (depth == 0) break;
        --depth;
      }
    }
    Iter keep = j;
    if (j == list.end()) {
      Error(kUnexpectedEndOfFile);
    } else {
      while (keep != newline && keep->kind != LexemeKind::Newline) --keep;
    }
    int breaks = 0;
    for (Iter k = newline; k != keep; ++k) breaks += static_cast<int>(LexemeLineBreaks(*k));
    list.erase(newline, keep);
    // The skipped lines are still lines of the file.
    ShiftLine(breaks);
    if (keep != list.end()) keep->text = "\r\n";
    return keep;
  }

  void Include(LexemeList& list, Iter it, const Args& args) {
    if (args.size() < 2) {
      Error(kExpectedArgument);
      return;
    }
    std::string argument;
    std::size_t used = 2;
    if (args[1].text == "<") {
      std::string joined;
      std::size_t i = 2;
      while (i < args.size() && args[i].text != ">") joined += args[i++].text;
      if (i == args.size()) {
        Error("Expected >.");
        return;
      }
      argument = "\"<" + joined + ">\"";
      used = i + 1;
    } else {
      argument = args[1].text;
    }
    if (args.size() > used) {
      Error(kTooManyArguments);
      return;
    }
    AddLineMapEntry();
    std::string name = StripEnds(argument);
    std::size_t slash = currentFile_.rfind('/');
    if (slash != std::string::npos && !name.starts_with("<"))
      name = currentFile_.substr(0, slash + 1) + name;
    if (depth_ >= kMaxIncludeNesting) {
      Error(std::string(kCouldNotOpenFile) + name + " (includes nested too deeply)");
      return;
    }

    const std::string file = currentFile_;
    const int line = line_;
    loader_.SetCurrentFile(file);
    // A file that includes itself, directly or through others, would be followed to the
    // nesting limit, every branch of it: seconds of building while every device waits.
    const std::string target = loader_.ResolveIncludePath(name);
    if (const std::size_t on = OnChain(target); on < chain_.size()) {
      std::string cycle;
      for (std::size_t i = on; i < chain_.size(); ++i) cycle += chain_[i] + " -> ";
      Warning(std::string(kIncludeCycleNotFollowed) + cycle + chain_[on]);
      return;
    }
    chain_.push_back(target);
    ++depth_;
    LexemeList included = Preprocess(name, file, line);
    --depth_;
    chain_.pop_back();
    list.splice(it, included);
    currentFile_ = file;
    line_ = line;
    stretchStart_ = combined_;
    DefineFileNames();
    loader_.CountInclude(currentFile_ == rootFile_);
  }

  // Where the file is on the chain of includes being followed (the root first); the chain's
  // size when it is not. Paths are compared as the platform reads them.
  std::size_t OnChain(const std::string& path) const {
    const std::string key = SameFileKey(path);
    if (key == SameFileKey(rootFile_)) return 0;
    for (std::size_t i = 0; i < chain_.size(); ++i)
      if (key == SameFileKey(chain_[i])) return i;
    return chain_.size();
  }

  void Pragma(const Args& args) {
    if (args.size() < 2) {
      Error(kPragmasNeedArguments);
      return;
    }
    PragmaInfo info;
    if (args.size() >= 3) {
      if (args[2].kind != LexemeKind::String) Error(kPragmaParameterNotString);
      info.parameter = StripEnds(args[2].text);
    }
    if (args.size() >= 4) Error(kTooManyPragmaParameters);
    info.currentFile = currentFile_;
    info.lineInFile = line_;
    info.rootName = rootName_;
    info.combinedLine = combined_;
    if (!pragmas_.Dispatch(args[1].text, info)) Error(kUnknownPragmaMessage);
  }

  IncludeLoader loader_;
  PragmaTable& pragmas_;
  OncePragma once_;
  DefineTable defines_;
  TextOutputStream& messages_;
  LineMap* lineMap_;
  std::string rootName_;
  std::string rootAlias_;  // the root's own file, when the root is asked for by another name
  std::string rootFile_;
  std::vector<std::string> chain_;  // the files whose includes are being followed, root first
  std::string currentFile_ = "ERROR";
  int line_ = 0;
  int combined_ = 0;
  int stretchStart_ = 0;
  int errors_ = 0;
  int depth_ = 0;
};

}  // namespace

DefineTable& ProgramCommandDefines() {
  static DefineTable defines;
  return defines;
}

int PreprocessScriptFile(const std::string& rootName, std::string_view rootText,
                         asIScriptEngine* engine, const std::string& baseFolder,
                         TextOutputStream& out, TextOutputStream& messages, LineMap* lineMap,
                         const PreprocessorSetup& given) {
  PreprocessorSetup setup = given;
  FileAccess& files = setup.files ? *setup.files : RealFiles();
  if (!setup.pragmas) setup.pragmas = &ProgramPragmas();
  ModulePragmaRegistry& modules = setup.modules ? *setup.modules : ProgramModulePragmas();
  DefineTable& commandDefines =
      setup.commandDefines ? *setup.commandDefines : ProgramCommandDefines();

  LineMap map;
  PreprocessorRun run(setup, files, rootName, rootText, baseFolder, messages,
                      lineMap ? &map : nullptr);
  modules.Reset(baseFolder, engine, *setup.pragmas);
  DefineString(commandDefines, "RUN_COMMAND", "RUN_CUSTOM_COMMAND___CMD_ID__");
  DefineString(commandDefines, "CUSTOM_COMMAND_ID", kCommandIdDefine);
  run.Defines() = commandDefines;
  int errors = run.Run(out);
  if (lineMap) *lineMap = std::move(map);
  return errors;
}

int PreprocessScriptFile(const std::string& rootName, std::string_view rootText,
                         asIScriptEngine* engine, const std::string& baseFolder,
                         TextOutputStream& out, TextOutputStream& messages, LineMap* lineMap) {
  return PreprocessScriptFile(rootName, rootText, engine, baseFolder, out, messages, lineMap,
                              PreprocessorSetup{});
}

PreprocessedScript PreprocessScript(const std::string& rootName, std::string_view rootText,
                                    asIScriptEngine* engine, const std::string& baseFolder,
                                    const PreprocessorSetup& setup) {
  BufferOutputStream out, messages;
  PreprocessedScript result;
  result.errors =
      PreprocessScriptFile(rootName, rootText, engine, baseFolder, out, messages, nullptr, setup);
  result.text = out.Take();
  result.messages = messages.Take();
  return result;
}

PreprocessedScript PreprocessScriptAtPath(const std::string& path, asIScriptEngine* engine,
                                          const PreprocessorSetup& setup) {
  FileAccess& files = setup.files ? *setup.files : RealFiles();
  std::string bytes;
  if (files.Read(path, bytes, kMaxIncludeRunBytes) != FileAccess::ReadResult::Ok) {
    PreprocessedScript failed;
    failed.messages = path + " (0) Error : " + std::string(kCouldNotOpenFile) + path + "\n";
    failed.errors = 1;
    return failed;
  }
  return PreprocessScript(path, bytes, engine, CutAtLastBackslash(path), setup);
}
