// The debug engine and context through the real script library.
#include "runtime/script/debug_engine.h"
#include "runtime/script/script_registrar.h"
#include "runtime/script/script_types.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class CollectedMessages : public ScriptOutputStream {
 public:
  void Write(const char* text) override { lines.emplace_back(text); }
  std::string All() const {
    std::string all;
    for (const std::string& l : lines) all += l;
    return all;
  }
  std::vector<std::string> lines;
};

// What a build callback saw, and what it answers.
struct CallbackLog {
  struct Call {
    asCDebugScriptEngine* engine;
    asCDebugContext* context;
    std::string text;
  };
  std::vector<Call> calls;
  int result = 0;
  // A call goes the debugger's way: rebuild from the kept sections, prepare again, run.
  bool rebuildAndRun = false;
  int rebuildResult = 0;
  int replayResult = 0;
};
CallbackLog* gLog = nullptr;

int RecordingCallback(asCDebugScriptEngine* engine, asCDebugContext* context, const char* text) {
  gLog->calls.push_back({engine, context, text ? text : "(null)"});
  if (gLog->rebuildAndRun && context) {
    // The module name as the debugger has it: from the engine's table.
    const char* module = engine->ModuleName(context->CurrentModuleIndex());
    context->Detach();
    gLog->rebuildResult = engine->RebuildModule(module, true);
    gLog->replayResult = context->ReplayPrepare(engine);
    if (gLog->replayResult < 0) return gLog->replayResult;
    return context->RunPrepared();
  }
  return gLog->result;
}

bool SaveNothing(const char*, const char*, const char*, int) { return true; }

class DebugEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { MakeEngine(nullptr); }
  void TearDown() override { gLog = nullptr; }

  void MakeEngine(DebugBuildCallback callback) {
    engine.reset(asCreateDebugScriptEngine(20401, callback, SaveNothing));
    ASSERT_NE(engine, nullptr);
    engine->SetMessageStream(&messages);
  }

  // Adds code as one section of module and builds it without a callback.
  int BuildModule(const char* module, const std::string& code, const char* section = "QpadHandler") {
    int r = engine->AddScriptSection(module, section, code.c_str(), code.size());
    if (r < 0) return r;
    return engine->Build(module);
  }

  int GlobalId(const char* module, const char* name) {
    int m = engine->FindModule(module);
    asIScriptModule* library = engine->LibraryModule(m);
    if (!library) return -1;
    return asCDebugScriptEngine::GlobalVarId(m, library->GetGlobalVarIndexByName(name));
  }

  std::string GlobalText(const char* module, const char* name, std::size_t size = 200) {
    std::vector<char> buffer(size + 1, '\x7f');
    int r = engine->GetGlobalVarAsText(GlobalId(module, name), buffer.data(), size);
    if (r != 0) return "error " + std::to_string(r);
    EXPECT_EQ(buffer[size], '\x7f') << "written past the buffer";
    return buffer.data();
  }

  template <class T>
  T& Global(const char* module, const char* name) {
    asIScriptModule* library = engine->LibraryModule(engine->FindModule(module));
    return *static_cast<T*>(library->GetAddressOfGlobalVar(library->GetGlobalVarIndexByName(name)));
  }

  // What SetCallArguments passed, as the script stored it.
  void ExpectCallArguments() {
  EXPECT_EQ(Global<std::uint8_t>("m", "gotCode"), 0xA5);
  EXPECT_TRUE(Global<bool>("m", "gotFlag"));
  EXPECT_EQ(Global<int>("m", "gotInt"), -7);
  EXPECT_EQ(Global<long long>("m", "gotLong"), 0x123456789ll);
  EXPECT_EQ(Global<float>("m", "gotFloat"), 0.5f);
  EXPECT_EQ(Global<double>("m", "gotDouble"), -2.25);
  }

  asIScriptFunction* Function(const char* module, const char* declaration) {
    return engine->LibraryModule(engine->FindModule(module))->GetFunctionByDecl(declaration);
  }

  CollectedMessages messages;
  std::unique_ptr<asCDebugScriptEngine> engine;
};

TEST(DebugEngineCreation, AcceptsOnlyTheInterfaceVersionsOfItsCallers) {
  struct Case {
    asDWORD version;
    bool accepted;
  } cases[] = {{20400, true}, {20401, true}, {20402, false}, {20300, false},
               {30401, false}, {20500, false}, {23501, false}, {ANGELSCRIPT_VERSION, false}};
  for (const Case& c : cases) {
    std::unique_ptr<asCDebugScriptEngine> engine(asCreateDebugScriptEngine(c.version, nullptr, SaveNothing));
    EXPECT_EQ(engine != nullptr, c.accepted) << c.version;
    if (engine) {
      EXPECT_EQ(engine->SaveCallback(), &SaveNothing);
      EXPECT_EQ(engine->BuildCallback(), nullptr);
    }
  }
}

TEST_F(DebugEngineTest, SectionTablesGrowByTenAndReuseTheLowestFreeSlot) {
  EXPECT_EQ(engine->SectionCapacity(), 10);
  EXPECT_EQ(engine->ModuleCapacity(), 10);
  for (int i = 0; i < 11; ++i) {
    std::string name("a");
    name += std::to_string(i);
    ASSERT_GE(engine->AddScriptSection("A", name.c_str(), "int x;", 6), 0);
  }
  ASSERT_GE(engine->AddScriptSection("B", "b0", "int y;", 6), 0);
  EXPECT_EQ(engine->SectionCapacity(), 20);
  EXPECT_EQ(engine->SectionCount(), 12);
  EXPECT_STREQ(engine->SectionName(10), "a10");
  EXPECT_STREQ(engine->SectionName(11), "b0");
  EXPECT_EQ(engine->SectionModule(11), engine->FindModule("B"));

  EXPECT_EQ(engine->Discard(engine->ModuleName(engine->FindModule("A"))), 0);
  EXPECT_EQ(engine->SectionCount(), 1);
  EXPECT_EQ(engine->SectionName(0), nullptr);
  EXPECT_EQ(engine->SectionModule(0), -1);
  EXPECT_EQ(engine->FindModule("A"), -1);
  EXPECT_EQ(engine->ModuleCount(), 1);

  ASSERT_GE(engine->AddScriptSection("C", "c0", "int z;", 6), 0);
  ASSERT_GE(engine->AddScriptSection("B", "b1", "int w;", 6), 0);
  EXPECT_STREQ(engine->SectionName(0), "c0");
  EXPECT_STREQ(engine->SectionName(1), "b1");
  EXPECT_STREQ(engine->SectionName(11), "b0");
  EXPECT_EQ(engine->SectionCapacity(), 20);
  // The freed module slot is taken again too.
  EXPECT_EQ(engine->FindModule("C"), 0);
}

TEST_F(DebugEngineTest, KeepsSectionsAsGivenWithDefaultNamesAndFlags) {
  const char code[] = "int x = 1;\n# define A\n";
  ASSERT_GE(engine->AddScriptSection(nullptr, nullptr, code, std::strlen(code), 77, false), 0);
  int slot = engine->FindSection("unnamed", "unnamed");
  ASSERT_EQ(slot, 0);
  EXPECT_STREQ(engine->SectionText(slot), code);
  EXPECT_EQ(engine->SectionFlags(slot), 0);
  engine->SetSectionFlags(slot, 3);
  EXPECT_EQ(engine->SectionFlags(slot), 3);
  EXPECT_STREQ(engine->ModuleName(0), "unnamed");
  EXPECT_EQ(engine->Build(nullptr), 0);
  EXPECT_EQ(engine->Discard(nullptr), 0);
  EXPECT_EQ(engine->SectionCount(), 0);
}

TEST_F(DebugEngineTest, DiscardOfAModuleNotHeldChangesNothing) {
  ASSERT_EQ(BuildModule("m", "int x = 3;"), 0);
  EXPECT_EQ(engine->Discard("other"), -1);
  EXPECT_FALSE(engine->IsBuilt());  // cleared all the same
  EXPECT_EQ(engine->SectionCount(), 1);
  EXPECT_NE(engine->LibraryModule(engine->FindModule("m")), nullptr);
}

TEST_F(DebugEngineTest, NoSectionSlotBeyondWhatALineIdCanCarry) {
  for (int i = 0; i < asCDebugScriptEngine::kMaxSections; ++i)
    ASSERT_GE(engine->AddScriptSection("m", "s", "", 0), 0) << i;
  EXPECT_EQ(engine->AddScriptSection("m", "s", "", 0), -1);
  EXPECT_EQ(engine->AddScriptSection("new", "s", "", 0), -1);
  EXPECT_EQ(engine->FindModule("new"), -1);
  EXPECT_EQ(engine->Library()->GetModule("new", asGM_ONLY_IF_EXISTS), nullptr);
  EXPECT_EQ(engine->SectionCapacity(), asCDebugScriptEngine::kMaxSections);
}

TEST_F(DebugEngineTest, TrailingZeroBytesNeverReachTheLibrary) {
  // A file read whole with zero padding, its terminator counted.
  const char code[] = "int x = 4;\n\0\0\0";
  ASSERT_GE(engine->AddScriptSection("m", "s", code, sizeof code), 0);
  EXPECT_EQ(engine->SectionLength(0), 11);
  EXPECT_EQ(engine->Build("m"), 0) << messages.All();
  EXPECT_EQ(Global<int>("m", "x"), 4);

  std::string edited("int x = 5;\n\0", 12);
  engine->SetSectionText(0, edited.data(), edited.size());
  EXPECT_EQ(engine->SectionLength(0), 11);
  EXPECT_EQ(engine->RebuildModule("m", true), 0) << messages.All();
  EXPECT_EQ(Global<int>("m", "x"), 5);
}

TEST_F(DebugEngineTest, MessagesCarryTheSectionSlotInTheirRows) {
  ASSERT_GE(engine->AddScriptSection("m", "zero", "int a;", 6), 0);
  ASSERT_GE(engine->AddScriptSection("m", "one", "int b;", 6), 0);
  const char bad[] = "int c;\n\n\n\nint d = undefinedThing;\n";
  ASSERT_GE(engine->AddScriptSection("m", "two", bad, std::strlen(bad)), 0);
  EXPECT_LT(engine->Build("m"), 0);
  std::string expected = "two (" + std::to_string((2 << 20) + 5) + ", 9) : Error : ";
  EXPECT_THAT(messages.All(), HasSubstr(expected));
  for (const std::string& line : messages.lines) EXPECT_EQ(line.back(), '\n');
}

TEST_F(DebugEngineTest, HashStartsACommentWhereATokenMayBegin) {
  const char code[] =
      "#define FOO 1\n"
      "  # if FOO\n"
      "int a = 1; # not code: int a = 2;\n"
      "int b = 2; // # and this comment ends here\n"
      "int c = 3; /* # inside a block comment\n"
      "int c = 4; */\n"
      "void f()\n"
      "{\n"
      "#ifdef X\n"
      "  a = 10;\n"
      "#endif\n"
      "}\n"
      "#pragma once\rint e = 5;\n"  // a bare CR ends the line too
      "#endif";  // at the very end, no newline
  ASSERT_GE(engine->AddScriptSection("m", "s", code, std::strlen(code)), 0);
  ASSERT_EQ(engine->Build("m"), 0) << messages.All();
  EXPECT_STREQ(engine->SectionText(0), code);
  EXPECT_EQ(Global<int>("m", "a"), 1);
  EXPECT_EQ(Global<int>("m", "b"), 2);
  EXPECT_EQ(Global<int>("m", "c"), 3);
  EXPECT_EQ(Global<int>("m", "e"), 5);
  auto context = engine->CreateContext();
  ASSERT_EQ(context->Prepare(Function("m", "void f()")), 0);
  ASSERT_EQ(context->Execute(), asEXECUTION_FINISHED);
  EXPECT_EQ(Global<int>("m", "a"), 10);
}

TEST_F(DebugEngineTest, RebuildDoesNothingWhileTheBuiltFlagIsSet) {
  ASSERT_EQ(BuildModule("m", "int x = 1;"), 0);
  EXPECT_TRUE(engine->IsBuilt());
  const char broken[] = "int x = ;";
  engine->SetSectionText(0, broken, std::strlen(broken));
  EXPECT_EQ(engine->RebuildModule("m", false), 0);
  EXPECT_TRUE(messages.lines.empty());
  // Re-adding clears the flag and builds the kept (now broken) text.
  EXPECT_LT(engine->RebuildModule("m", true), 0);
  EXPECT_FALSE(messages.lines.empty());

  const char fixed[] = "int x = 7;";
  engine->SetSectionText(0, fixed, std::strlen(fixed));
  EXPECT_EQ(engine->RebuildModule("m", true), 0) << messages.All();
  EXPECT_EQ(Global<int>("m", "x"), 7);

  EXPECT_EQ(engine->RebuildModule("none", true), asNO_MODULE);
}

TEST_F(DebugEngineTest, AddingToABuiltModuleStartsItAfresh) {
  ASSERT_EQ(BuildModule("m", "int x = 1;"), 0);
  ASSERT_EQ(BuildModule("m", "void f() {}", "s2"), 0) << messages.All();
  // Only the new section went to the library; both are kept for a rebuild.
  asIScriptModule* library = engine->LibraryModule(0);
  EXPECT_EQ(library->GetGlobalVarCount(), 0u);
  EXPECT_EQ(library->GetFunctionCount(), 1u);
  const char uses[] = "void f() { x = 2; }";
  engine->SetSectionText(1, uses, std::strlen(uses));
  EXPECT_EQ(engine->RebuildModule("m", true), 0) << messages.All();

  // A context holding one of the module's functions stops neither a rebuild nor an add.
  auto context = engine->CreateContext();
  ASSERT_EQ(context->Prepare(Function("m", "void f()")), 0);
  EXPECT_EQ(engine->RebuildModule("m", true), 0) << messages.All();
  ASSERT_GE(engine->AddScriptSection("m", "s3", "int y;", 6), 0);
  EXPECT_EQ(engine->Build("m"), 0) << messages.All();
  // The kept module is always the library's current one, through every fresh start.
  EXPECT_EQ(engine->LibraryModule(engine->FindModule("m")),
            engine->Library()->GetModule("m", asGM_ONLY_IF_EXISTS));
  engine->Discard("m");
  EXPECT_EQ(engine->LibraryModule(0), nullptr);
}

TEST_F(DebugEngineTest, InvalidConfigurationIsReportedByRebuild) {
  ASSERT_GE(engine->AddScriptSection("m", "s", "int x;", 6), 0);
  // A refused registration spoils the whole configuration.
  EXPECT_LT(engine->Library()->RegisterGlobalProperty("no such type x", nullptr), 0);
  messages.lines.clear();
  EXPECT_EQ(engine->RebuildModule("m", true), asINVALID_CONFIGURATION);
  EXPECT_THAT(messages.lines, ::testing::Contains(std::string("Invalid configuration\n")));
}

struct GlobalTextCase {
  const char* declaration;
  const char* text;
};

TEST_F(DebugEngineTest, GlobalValueTextsOfThePrimitiveTypes) {
  ASSERT_GE(engine->Library()->RegisterTypedef("bits8", "uint8"), 0);
  ASSERT_GE(engine->Library()->RegisterTypedef("bits16", "uint16"), 0);
  ASSERT_GE(engine->Library()->RegisterTypedef("bits", "uint"), 0);
  const GlobalTextCase cases[] = {
      {"bool v = true", "true"},
      {"bool v = false", "false"},
      {"int8 v = -128", "-128"},
      {"int16 v = -300", "-300"},
      {"int v = -5", "-5"},
      {"int v = 2147483647", "2147483647"},
      {"uint8 v = 255", "255"},
      {"uint16 v = 65535", "65535"},
      {"uint v = 4294967295", "4294967295"},
      {"int64 v = -9000000000", "-9000000000"},
      {"float v = 1.5f", "1.500000"},
      {"float v = -0.25f", "-0.250000"},
      {"double v = 3.14159265", "3.141593"},
      {"double v = 1e20", "100000000000000000000.000000"},
      // The bits types are the unsigned integers of their width: decimal, no hex.
      {"bits8 v = 10", "10"},
      {"bits16 v = 0x1234", "4660"},
      {"bits v = 0xff", "255"},
  };
  for (const GlobalTextCase& c : cases) {
    std::string module = c.declaration;
    ASSERT_EQ(BuildModule(module.c_str(), std::string(c.declaration) + ";"), 0) << messages.All();
    EXPECT_EQ(GlobalText(module.c_str(), "v"), c.text) << c.declaration;
  }
}

TEST_F(DebugEngineTest, GlobalTextErrorsAndOtherObjects) {
  ASSERT_EQ(BuildModule("m", "class K { int a; }\nint x = 12345;\nK k;\nK@ none;"), 0)
      << messages.All();
  char buffer[16];
  int m = engine->FindModule("m");
  EXPECT_EQ(engine->GetGlobalVarAsText(asCDebugScriptEngine::GlobalVarId(m + 1, 0), buffer, 16), asNO_MODULE);
  EXPECT_EQ(engine->GetGlobalVarAsText(asCDebugScriptEngine::GlobalVarId(m, 3), buffer, 16), asNO_GLOBAL_VAR);
  EXPECT_EQ(engine->SetGlobalVarFromText(asCDebugScriptEngine::GlobalVarId(m + 1, 0), "1"), asNO_MODULE);
  EXPECT_EQ(engine->SetGlobalVarFromText(asCDebugScriptEngine::GlobalVarId(m, 3), "1"), asNO_GLOBAL_VAR);
  EXPECT_EQ(GlobalText("m", "k"), "?????");
  EXPECT_EQ(GlobalText("m", "none"), "unitialized");
  // A short buffer gets a cut, terminated text.
  EXPECT_EQ(GlobalText("m", "x", 4), "123");
  EXPECT_EQ(GlobalText("m", "x", 1), "");
  EXPECT_EQ(engine->SetGlobalVarFromText(GlobalId("m", "k"), "5"), 0);  // left alone
}

struct SetTextCase {
  const char* declaration;
  const char* text;
  const char* result;
};

TEST_F(DebugEngineTest, SetGlobalFromText) {
  const SetTextCase cases[] = {
      {"bool v = true", "FALSE", "false"},
      {"bool v = true", "False", "false"},
      {"bool v = false", "no", "true"},
      {"bool v = false", "", "true"},
      {"bool v = true", "falsey", "true"},
      {"int v = 0", "-42", "-42"},
      {"int v = 1", "junk", "0"},
      {"int8 v = 0", "300", "44"},
      {"int16 v = 0", "-32769", "32767"},
      {"uint8 v = 0", "-1", "255"},
      {"uint v = 0", "-1", "4294967295"},
      {"uint v = 0", "4294967295", "4294967295"},
      {"float v = 0", "2.5", "2.500000"},
      {"double v = 0", "-0.125", "-0.125000"},
      {"const int v = 3", "9", "3"},
  };
  for (const SetTextCase& c : cases) {
    std::string module = std::string(c.declaration) + c.text;
    ASSERT_EQ(BuildModule(module.c_str(), std::string(c.declaration) + ";"), 0) << messages.All();
    EXPECT_EQ(engine->SetGlobalVarFromText(GlobalId(module.c_str(), "v"), c.text), 0);
    EXPECT_EQ(GlobalText(module.c_str(), "v"), c.result) << c.declaration << " <- " << c.text;
  }
}

TEST_F(DebugEngineTest, BuildsGoToTheBuildCallback) {
  CallbackLog log;
  gLog = &log;
  log.result = 8;
  MakeEngine(RecordingCallback);
  ASSERT_GE(engine->AddScriptSection("dev", "QpadHandler", "void f() {}", 11), 0);
  EXPECT_EQ(engine->Build("dev"), 8);
  EXPECT_EQ(engine->Build(nullptr), 8);
  ASSERT_EQ(log.calls.size(), 2u);
  EXPECT_EQ(log.calls[0].engine, engine.get());
  EXPECT_EQ(log.calls[0].context, nullptr);
  EXPECT_EQ(log.calls[0].text, "dev");
  EXPECT_EQ(log.calls[1].text, "(null)");
  // Nothing was built: the callback builds through RebuildModule.
  EXPECT_FALSE(engine->IsBuilt());
  EXPECT_EQ(engine->LibraryModule(0)->GetFunctionCount(), 0u);
  EXPECT_EQ(engine->RebuildModule("dev", false), 0);
  EXPECT_TRUE(engine->IsBuilt());
  EXPECT_EQ(engine->LibraryModule(0)->GetFunctionCount(), 1u);
}

constexpr const char kCallScript[] =
    "uint8 gotCode = 0;\n"
    "bool gotFlag = false;\n"
    "int gotInt = 0;\n"
    "int64 gotLong = 0;\n"
    "float gotFloat = 0;\n"
    "double gotDouble = 0;\n"
    "int calls = 0;\n"
    "void KeyDown(uint8 code, bool flag, int n, int64 l, float f, double d)\n"
    "{\n"
    "  gotCode = code; gotFlag = flag; gotInt = n; gotLong = l; gotFloat = f; gotDouble = d;\n"
    "  calls++;\n"
    "}\n";

void SetCallArguments(asCDebugContext& context) {
  EXPECT_EQ(context.SetArgDWord(0, 0x1A5), 0);  // a byte parameter takes the low byte
  EXPECT_EQ(context.SetArgDWord(1, 1), 0);
  EXPECT_EQ(context.SetArgDWord(2, static_cast<asDWORD>(-7)), 0);
  EXPECT_EQ(context.SetArgQWord(3, 0x123456789ull), 0);
  EXPECT_EQ(context.SetArgFloat(4, 0.5f), 0);
  EXPECT_EQ(context.SetArgDouble(5, -2.25), 0);
}

TEST_F(DebugEngineTest, ArgumentsAreSetBySizeAndRecordedByKind) {
  ASSERT_EQ(BuildModule("m", kCallScript), 0) << messages.All();
  auto context = engine->CreateContext();
  asIScriptFunction* f = Function("m", "void KeyDown(uint8, bool, int, int64, float, double)");
  ASSERT_EQ(context->Prepare(f->GetId()), 0);
  EXPECT_EQ(context->PreparedFunctionId(), f->GetId());
  SetCallArguments(*context);
  std::vector<int> kinds, indexes;
  for (const auto& a : context->RecordedArguments()) {
    kinds.push_back(a.kind);
    indexes.push_back(a.index);
  }
  EXPECT_THAT(kinds, ElementsAre(0, 0, 0, 1, 2, 3));
  EXPECT_THAT(indexes, ElementsAre(0, 1, 2, 3, 4, 5));
  ASSERT_EQ(context->Execute(), asEXECUTION_FINISHED);
  ExpectCallArguments();
  // Preparing again forgets them.
  ASSERT_EQ(context->Prepare(f), 0);
  EXPECT_TRUE(context->RecordedArguments().empty());
}

TEST_F(DebugEngineTest, CallsGoToTheBuildCallbackWhichReplaysThemAfterARebuild) {
  CallbackLog log;
  gLog = &log;
  MakeEngine(RecordingCallback);
  ASSERT_GE(engine->AddScriptSection("m", "QpadHandler", kCallScript, std::strlen(kCallScript)), 0);
  ASSERT_EQ(engine->RebuildModule("m", false), 0) << messages.All();
  auto context = engine->CreateContext();
  asIScriptFunction* f = Function("m", "void KeyDown(uint8, bool, int, int64, float, double)");
  int oldId = f->GetId();
  ASSERT_EQ(context->Prepare(f), 0);
  SetCallArguments(*context);

  // Without running: the callback gets the call's declaration.
  log.result = 77;
  EXPECT_EQ(context->Execute(), 77);
  ASSERT_EQ(log.calls.size(), 1u);
  EXPECT_EQ(log.calls[0].context, context.get());
  EXPECT_EQ(log.calls[0].text, "void KeyDown(uint8, bool, int, int64, float, double)");
  EXPECT_EQ(Global<int>("m", "calls"), 0);

  // The edited text has other functions first, so the old id could now name one of them.
  std::string edited = std::string("void Decoy1() { calls = 100; }\nvoid Decoy2() { calls = 200; }\n") + kCallScript;
  engine->SetSectionText(0, edited.data(), edited.size());
  log.rebuildAndRun = true;
  EXPECT_EQ(context->Execute(), asEXECUTION_FINISHED);
  EXPECT_EQ(log.rebuildResult, 0) << messages.All();
  EXPECT_EQ(log.replayResult, 0);
  EXPECT_EQ(Global<int>("m", "calls"), 1);
  ExpectCallArguments();
  EXPECT_NE(context->PreparedFunctionId(), oldId);
  EXPECT_EQ(context->RecordedArguments().size(), 6u);

  // A rebuild that drops the function leaves nothing to replay.
  const char gone[] = "int calls = 0;\n";
  engine->SetSectionText(0, gone, std::strlen(gone));
  EXPECT_EQ(context->Execute(), asNO_FUNCTION);
}

struct LineStop {
  int line;
  int rawLine;
  std::string section;
  int module;
};

void RecordLine(asCDebugContext* context, void* param) {
  const char* section = nullptr;
  int raw = context->Library()->GetLineNumber();
  int line = context->GetLineNumber(0, nullptr, &section);
  static_cast<std::vector<LineStop>*>(param)->push_back(
      {line, raw, section ? section : "", context->CurrentModuleIndex()});
}

TEST_F(DebugEngineTest, LineCallbackAndCurrentLineCarryTheSlot) {
  ASSERT_GE(engine->AddScriptSection("other", "o", "int o;", 6), 0);
  ASSERT_GE(engine->AddScriptSection("m", "first", "int g;\n", 7), 0);
  const char code[] = "void f()\n{\n  g = 1;\n  g = 2;\n}\n";
  ASSERT_GE(engine->AddScriptSection("m", "second", code, std::strlen(code)), 0);
  ASSERT_EQ(engine->Build("m"), 0) << messages.All();
  auto context = engine->CreateContext();
  std::vector<LineStop> stops;
  context->SetLineCallback(RecordLine, &stops);
  ASSERT_EQ(context->Prepare(Function("m", "void f()")), 0);
  ASSERT_EQ(context->Execute(), asEXECUTION_FINISHED);
  ASSERT_FALSE(stops.empty());
  std::vector<int> lines;
  for (const LineStop& s : stops) {
    EXPECT_EQ(s.line >> 20, 2);
    EXPECT_EQ(s.line & 0xFFFFF, s.rawLine);  // the library keeps only the line
    EXPECT_EQ(s.section, "second");
    EXPECT_EQ(s.module, engine->FindModule("m"));
    if (lines.empty() || lines.back() != s.line) lines.push_back(s.line);
  }
  EXPECT_THAT(lines, ::testing::IsSupersetOf({(2 << 20) + 3, (2 << 20) + 4}));
  EXPECT_EQ(asCDebugContext::FromLibrary(context->Library()), context.get());

  stops.clear();
  context->ClearLineCallback();
  ASSERT_EQ(context->Prepare(Function("m", "void f()")), 0);
  ASSERT_EQ(context->Execute(), asEXECUTION_FINISHED);
  EXPECT_TRUE(stops.empty());
}

TEST_F(DebugEngineTest, ExceptionLineCarriesTheSlot) {
  ASSERT_GE(engine->AddScriptSection("m", "a", "int z = 0;\n", 11), 0);
  const char code[] = "void f()\n{\n  int q = 1 / z;\n}\n";
  ASSERT_GE(engine->AddScriptSection("m", "b", code, std::strlen(code)), 0);
  ASSERT_EQ(engine->Build("m"), 0) << messages.All();
  auto context = engine->CreateContext();
  ASSERT_EQ(context->Prepare(Function("m", "void f()")), 0);
  ASSERT_EQ(context->Execute(), asEXECUTION_EXCEPTION);
  EXPECT_EQ(context->GetExceptionLineNumber(), (1 << 20) + 3);
}

// Stops at one line and reads the locals there through the wrapper.
struct LocalsProbe {
  int stopLine = 0;
  int setIndex = -1;     // a primitive local to set from text, and an object one that is not set
  int objectIndex = -1;
  bool done = false;
  std::vector<int> results;
  std::vector<std::string> names, types, values;
  std::vector<void*> addresses;
  std::string setResult;
};

void ReadLocals(asCDebugContext* context, void* param) {
  auto* probe = static_cast<LocalsProbe*>(param);
  if (probe->done || (context->GetLineNumber() & 0xFFFFF) != probe->stopLine) return;
  probe->done = true;
  for (int i = 0;; ++i) {
    char name[200], type[200], value[200];
    int r = context->GetVarAsText(i, name, sizeof name, type, sizeof type, value, sizeof value);
    if (r == 0) break;
    probe->results.push_back(r);
    probe->names.push_back(name);
    probe->types.push_back(type);
    if (r == 2) {
      void* address;
      std::memcpy(&address, value, sizeof address);
      probe->addresses.push_back(address);
      // The debugger reads the elements of the host's arrays itself, while the call is stopped.
      std::string elements;
      if (std::string(type) == "int[]")
        for (int e : *static_cast<const std::vector<int>*>(address)) elements += std::to_string(e) + ";";
      probe->values.push_back(elements);
    } else {
      probe->values.push_back(value);
    }
  }
  char tiny[4], tinyType[3], tinyValue[3];
  context->GetVarAsText(0, tiny, sizeof tiny, tinyType, sizeof tinyType, tinyValue, sizeof tinyValue);
  probe->setResult = std::string(tiny) + "|" + tinyType + "|" + tinyValue;
  if (probe->setIndex >= 0) {
    EXPECT_TRUE(context->SetVarFromText(probe->setIndex, "-99"));
    EXPECT_FALSE(context->SetVarFromText(probe->objectIndex, "1"));
    EXPECT_FALSE(context->SetVarFromText(100, "1"));
  }
}

TEST_F(DebugEngineTest, LocalValueTextsThroughTheContext) {
  const char code[] =
      "class Thing { int a; }\n"
      "int seen = 0;\n"
      "void f(uint8 code, double d)\n"
      "{\n"
      "  int longerName = 1234;\n"
      "  bool b = true;\n"
      "  Thing t;\n"
      "  seen = longerName;\n"
      "}\n";
  ASSERT_EQ(BuildModule("m", code), 0) << messages.All();
  auto context = engine->CreateContext();
  LocalsProbe probe;
  probe.stopLine = 8;
  probe.setIndex = 2;
  probe.objectIndex = 4;
  context->SetLineCallback(ReadLocals, &probe);
  ASSERT_EQ(context->Prepare(Function("m", "void f(uint8, double)")), 0);
  context->SetArgDWord(0, 200);
  context->SetArgDouble(1, 0.5);
  ASSERT_EQ(context->Execute(), asEXECUTION_FINISHED);
  ASSERT_TRUE(probe.done);
  EXPECT_THAT(probe.names, ElementsAre("code", "d", "longerName", "b", "t"));
  EXPECT_THAT(probe.types, ElementsAre("uint8", "double", "int", "bool", "Thing"));
  EXPECT_THAT(probe.results, ElementsAre(1, 1, 1, 1, 2));
  EXPECT_THAT(probe.values[0], "200");
  EXPECT_THAT(probe.values[1], "0.500000");
  EXPECT_THAT(probe.values[2], "1234");
  EXPECT_THAT(probe.values[3], "true");
  ASSERT_EQ(probe.addresses.size(), 1u);
  EXPECT_NE(probe.addresses[0], nullptr);
  // Buffers are filled within their lengths.
  EXPECT_EQ(probe.setResult, "cod|ui|20");
  // The local was set from text before its line ran.
  EXPECT_EQ(Global<int>("m", "seen"), -99);

  char name[8], type[8], value[8];
  EXPECT_EQ(context->GetVarAsText(0, name, 8, type, 8, value, 8), 0);  // nothing running
}

// With the program's string and array types.
class DebugEngineScriptTypesTest : public DebugEngineTest {
 protected:
  void SetUp() override {
    DebugEngineTest::SetUp();
    ScriptRegistrar reg(engine->Library());
    RegisterScriptTypes(reg);
    ASSERT_TRUE(reg.Ok()) << reg.FailureText();
  }

  // Builds globals and runs "void init()" from them.
  void BuildAndInit(const char* module, const std::string& code) {
    ASSERT_EQ(BuildModule(module, code), 0) << messages.All();
    if (asIScriptFunction* init = Function(module, "void init()")) {
      auto context = engine->CreateContext();
      ASSERT_EQ(context->Prepare(init), 0);
      ASSERT_EQ(context->Execute(), asEXECUTION_FINISHED);
    }
  }
};

TEST_F(DebugEngineScriptTypesTest, GlobalTextsOfStringsAndArrays) {
  BuildAndInit("m",
               "string s = \"text\";\n"
               "int[] three;\n"
               "int[] none;\n"
               "uint8[] bytes;\n"
               "int8[] signedBytes;\n"
               "uint[] library = {4000000000, 0, 7};\n"
               "float[] floats = {0.5f};\n"
               "string[] words = {\"a\", \"b c\"};\n"
               "int[] many;\n"
               "void init() {\n"
               "  three.push_back(1); three.push_back(2); three.push_back(3);\n"
               "  bytes.push_back(255); bytes.push_back(0);\n"
               "  signedBytes.push_back(-1);\n"
               "  for (int i = 0; i < 10; i++) many.push_back(1000000);\n"
               "}\n");
  EXPECT_EQ(GlobalText("m", "s"), "?????");  // the debugger shows string globals itself
  EXPECT_EQ(GlobalText("m", "three"), "1, 2, 3");
  EXPECT_EQ(GlobalText("m", "none"), "");
  EXPECT_EQ(GlobalText("m", "bytes"), "255, 0");
  EXPECT_EQ(GlobalText("m", "signedBytes"), "-1");
  EXPECT_EQ(GlobalText("m", "library"), "4000000000, 0, 7");
  EXPECT_EQ(GlobalText("m", "floats"), "0.500000");
  EXPECT_EQ(GlobalText("m", "words"), "\"a\", \"b c\"");
  // Once fewer than 22 bytes would remain after a separator, "..." ends the text.
  EXPECT_EQ(GlobalText("m", "many", 40), "1000000, 1000000, 1000000, ...");
  EXPECT_EQ(GlobalText("m", "many", 31), "1000000, 1000000, ...");
  EXPECT_EQ(GlobalText("m", "many", 5), "1000");

  // Objects are not set from text.
  EXPECT_EQ(engine->SetGlobalVarFromText(GlobalId("m", "s"), "other"), 0);
  EXPECT_EQ(Global<std::string>("m", "s"), "text");
  EXPECT_EQ(engine->SetGlobalVarFromText(GlobalId("m", "three"), "5"), 0);
  EXPECT_EQ(GlobalText("m", "three"), "1, 2, 3");
}

TEST_F(DebugEngineScriptTypesTest, LocalTextsOfStringsAndArrays) {
  const char code[] =
      "string seen;\n"
      "void f(const string &in name, string &out back)\n"
      "{\n"
      "  string s = \"hi # there\";\n"
      "  int[] list;\n"
      "  list.push_back(5);\n"
      "  uint[] more = {1};\n"
      "  seen = s; back = name;\n"
      "  string late = \"x\";\n"
      "}\n";
  ASSERT_EQ(BuildModule("m", code), 0) << messages.All();
  auto context = engine->CreateContext();
  LocalsProbe probe;
  probe.stopLine = 8;
  context->SetLineCallback(ReadLocals, &probe);
  ASSERT_EQ(context->Prepare(Function("m", "void f(const string&in, string&out)")), 0);
  std::string name = "given", back;
  ASSERT_EQ(context->SetArgObject(0, &name), 0);
  ASSERT_EQ(context->SetArgObject(1, &back), 0);
  ASSERT_EQ(context->Execute(), asEXECUTION_FINISHED) << messages.All();
  ASSERT_TRUE(probe.done);
  EXPECT_THAT(probe.names, ElementsAre("name", "back", "s", "list", "more", "late"));
  EXPECT_THAT(probe.results, ElementsAre(1, 1, 1, 2, 2, 1));
  EXPECT_EQ(probe.values[0], "\"given\"");
  EXPECT_EQ(probe.values[2], "\"hi # there\"");
  EXPECT_EQ(probe.values[5], "unitialized");
  EXPECT_EQ(probe.types[0], "const string&");
  EXPECT_EQ(probe.types[3], "int[]");
  EXPECT_EQ(probe.values[3], "5;");
  ASSERT_EQ(probe.addresses.size(), 2u);
  EXPECT_EQ(back, "given");
  EXPECT_EQ(Global<std::string>("m", "seen"), "hi # there");
}

TEST_F(DebugEngineScriptTypesTest, HashInsideStringsIsText) {
  const char code[] =
      "string a = \"# not a comment\"; # a comment\n"
      "string b = \"x\" + \"#\";\n"
      "string c = \"\"\"\n"
      "# inside a heredoc\n"
      "\"\"\";\n"
      "string d = \"// # \\\" #\"; // # \" tail\n";
  ASSERT_EQ(BuildModule("m", code), 0) << messages.All();
  EXPECT_EQ(Global<std::string>("m", "a"), "# not a comment");
  EXPECT_EQ(Global<std::string>("m", "b"), "x#");
  EXPECT_EQ(Global<std::string>("m", "c"), "# inside a heredoc\n");
  EXPECT_EQ(Global<std::string>("m", "d"), "// # \" #");
}

}  // namespace
