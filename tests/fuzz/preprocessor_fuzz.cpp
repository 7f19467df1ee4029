#include "tests/fuzz/preprocessor_fuzz.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/preprocessor/define_table.h"
#include "runtime/preprocessor/include_loader.h"
#include "platform/base/memory_file_access.h"
#include "runtime/script/library_loader.h"
#include "runtime/preprocessor/preprocessor_lexer.h"
#include "runtime/preprocessor/preprocessor_pragmas.h"
#include "runtime/preprocessor/script_preprocessor.h"
#include "runtime/preprocessor/text_streams.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/script_types_engine.h"

namespace {

class NoLibraries : public LibraryLoader {
 public:
  void* Load(const std::string&) override { return nullptr; }
  void* FindExport(void*, const std::string&) override { return nullptr; }
};

void DoNothing() {}

// Every library loads; every export is the same function that does nothing.
class AnyLibraries : public LibraryLoader {
 public:
  void* Load(const std::string& path) override { return path.empty() ? nullptr : this; }
  void* FindExport(void* library, const std::string& name) override {
    return library && !name.empty() ? reinterpret_cast<void*>(&DoNothing) : nullptr;
  }
};

void KeepMessage(const asSMessageInfo* message, void* text) {
  *static_cast<std::string*>(text) += std::string(message->section) + " (" +
                                      std::to_string(message->row) + "): " + message->message + "\n";
}

// Cuts the input at its first two form feeds: the root text, then a.oxs and b.oxs.
void PutParts(std::string_view text, std::string_view& root, MemoryFileAccess& files) {
  std::string_view parts[3];
  for (int i = 0; i < 2; ++i) {
    std::size_t cut = text.find('\f');
    parts[i] = text.substr(0, cut);
    text = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
  }
  parts[2] = text;
  root = parts[0];
  files.Put("C:\\s\\a.oxs", std::string(parts[1]));
  files.Put("C:\\s\\b.oxs", std::string(parts[2]));
}

// Counts the messages (one write each) and checks that each is one line.
class MessageCheck : public TextOutputStream {
 public:
  using TextOutputStream::Write;
  void Write(const char* text, std::size_t length) override {
    std::string_view line(text, length);
    Check(!line.empty() && line.back() == '\n');
    Check(line.find(") Error : ") != std::string_view::npos ||
          line.find(") Warning : ") != std::string_view::npos);
    ++count;
  }
  int count = 0;
};

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

int FuzzScriptPreprocessor(const unsigned char* data, std::size_t size) {
  std::string_view root;
  MemoryFileAccess files;
  PutParts(std::string_view(reinterpret_cast<const char*>(data), size), root, files);
  NoLibraries libraries;
  PragmaTable pragmas;
  ModulePragmaRegistry modules(libraries, files);
  DefineTable commandDefines;
  PreprocessorSetup setup{&files, &pragmas, &modules, &commandDefines, {}, {}};
  BufferOutputStream out;
  MessageCheck messages;
  LineMap map;
  int errors = PreprocessScriptFile("Root", root, nullptr, "C:\\s", out, messages, &map, setup);
  Check(errors >= 0 && errors <= messages.count);
  // The run's "once" handler is gone with the run.
  Check(pragmas.Find("once") == nullptr);
  Check(modules.Registrations().empty());
  return 0;
}

int FuzzPreprocessorPragmas(const unsigned char* data, std::size_t size) {
  std::string_view root;
  MemoryFileAccess files;
  PutParts(std::string_view(reinterpret_cast<const char*>(data), size), root, files);
  // An engine with the program's types, made again only after a run registered something on
  // it: every run starts from the same engine, and most runs cost no engine of their own.
  static EngineHolder engine;
  if (!engine) engine = MakeScriptTypesEngine();

  AnyLibraries libraries;
  PragmaTable pragmas;
  ModulePragmaRegistry modules(libraries, files);
  DefineTable commandDefines;
  PreprocessorSetup setup{&files, &pragmas, &modules, &commandDefines, {}, {}};
  BufferOutputStream out;
  MessageCheck messages;
  int errors = PreprocessScriptFile("Root", root, engine.get(), "C:\\s", out, messages, nullptr,
                                    setup);
  Check(errors >= 0 && errors <= messages.count);
  for (const ModulePragmaRegistry::Function& f : modules.Functions()) {
    Check(f.library != nullptr);
    Check(f.procedure == ProcedureName(f.declaration));
  }
  // What the check let through, the engine took; what it refused never reached the engine.
  bool registered = false;
  for (const ModulePragmaRegistry::Registration& r : modules.Registrations()) {
    if (r.check == DeclarationCheck::Acceptable)
      Check(r.result >= 0);
    else
      Check(r.result == 0);
    registered |= r.check == DeclarationCheck::Acceptable;
  }
  // No refused registration counts against the engine: a script still builds on it (one
  // function, named as no registered one is).
  const auto taken = [&](const std::string& name) {
    for (asUINT i = 0; i < engine->GetGlobalFunctionCount(); ++i)
      if (name == engine->GetGlobalFunctionByIndex(i)->GetName()) return true;
    return false;
  };
  std::string name = "check";
  while (taken(name)) name += '_';
  asIScriptModule* module = engine->GetModule("check", asGM_ALWAYS_CREATE);
  Check(module->AddScriptSection("check", ("int " + name + "() { return 1; }").c_str()) >= 0);
  std::string messagesOfBuild;
  engine->SetMessageCallback(asFUNCTION(KeepMessage), &messagesOfBuild, asCALL_CDECL);
  const int built = module->Build();
  if (built < 0) std::fprintf(stderr, "%s", messagesOfBuild.c_str());
  Check(built >= 0);
  module->Discard();
  if (registered) engine.reset();
  return 0;
}
