#include "runtime/preprocessor/preprocessor_pragmas.h"

#include <gtest/gtest.h>

#include "platform/base/file_access.h"
#include "runtime/script/declaration_check.h"
#include "tests/runtime/preprocessor/preprocessor_fixture.h"
#include "tests/runtime/script/script_fixture.h"
#include "tests/support/scratch_dir.h"

namespace {

// The script compiler of this branch does not skip '#' lines yet: blank them for the build.
std::string WithoutDirectiveLines(const std::string& text) {
  std::string out;
  bool lineStart = true, skipping = false;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      out += c;
      lineStart = true;
      skipping = false;
      continue;
    }
    if (lineStart && c == '#') skipping = true;
    if (c != ' ' && c != '\t') lineStart = false;
    if (!skipping) out += c;
  }
  return out;
}

TEST(ProcedureName, Cases) {
  struct {
    const char* declaration;
    const char* name;
  } cases[] = {
      {"int Scale(int value, float factor)", "Scale"},
      {"int Scale (int)", "Scale"},
      {"int[]@ Make(uint n)", "Make"},
      {"void f()", "f"},
      {"f(int)", "f"},
      {"int Scale", ""},
      {"(int)", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ProcedureName(c.declaration), c.name) << c.declaration;
}

class RecordingHandler : public PragmaHandler {
 public:
  void OnPragma(const PragmaInfo& info) override { seen.push_back(info); }
  std::vector<PragmaInfo> seen;
};

TEST(PragmaTable, RegisterReplaceAndDispatch) {
  PragmaTable table;
  RecordingHandler first, second;
  table.Register("x", nullptr);
  EXPECT_EQ(table.Find("x"), nullptr);
  table.Register("x", &first);
  table.Register("x", &second);
  EXPECT_TRUE(table.Dispatch("x", PragmaInfo{"p", "f", 3, "r", 7}));
  EXPECT_TRUE(first.seen.empty());
  ASSERT_EQ(second.seen.size(), 1u);
  EXPECT_EQ(second.seen[0].parameter, "p");
  EXPECT_EQ(second.seen[0].lineInFile, 3);
  EXPECT_FALSE(table.Dispatch("X", PragmaInfo{}));  // names are exact
  table.Unregister("x", &first);                    // not its handler any more
  EXPECT_EQ(table.Find("x"), &second);
  table.Unregister("x", &second);
  EXPECT_EQ(table.Find("x"), nullptr);
}

class ModulePragmaTest : public ::testing::Test, public PreprocessorFixture {};

TEST_F(ModulePragmaTest, PragmaInfoComesFromTheRun) {
  RecordingHandler handler;
  pragmas.Register("note", &handler);
  memory.Put("C:\\s\\a.oxs", "\r\n#pragma note \"text\"");
  PreprocessResult r = Preprocess("a\n#include \"a.oxs\"\n#pragma note");
  EXPECT_EQ(r.messages, "");
  ASSERT_EQ(handler.seen.size(), 2u);
  EXPECT_EQ(handler.seen[0].parameter, "text");
  EXPECT_EQ(handler.seen[0].currentFile, "C:\\s\\a.oxs");
  EXPECT_EQ(handler.seen[0].lineInFile, 2);
  EXPECT_EQ(handler.seen[0].rootName, "Root");
  EXPECT_EQ(handler.seen[0].combinedLine, 7);  // the opening marker's line ends too
  EXPECT_EQ(handler.seen[1].parameter, "");
  EXPECT_EQ(handler.seen[1].currentFile, "Root");
  EXPECT_EQ(handler.seen[1].lineInFile, 2);
}

TEST_F(ModulePragmaTest, FunctionBeforeAnyModuleDoesNothing) {
  PreprocessResult r = Preprocess("#pragma moduleFunction \"int AddInts(int, int)\"");
  EXPECT_EQ(r.messages, "");
  EXPECT_TRUE(modules.Functions().empty());
  EXPECT_TRUE(fakeLibraries.loads.empty());
}

TEST_F(ModulePragmaTest, AllSpellingsAndTheLibrarySearch) {
  const std::string dll = "C:\\Orvane\\DLLs\\lib.dll";
  memory.Put(dll, "");
  fakeLibraries.Add(dll, {"AddInts"});
  PreprocessResult r = Preprocess(
      "#pragma MODULE \"lib.dll\"\n#pragma Modulefunction \"int AddInts(int, int)\"\n"
      "#pragma MODULEFUNCTION \"int Other()\"\n#pragma Module \"lib.dll\"\n#pragma module "
      "\"lib.dll\"",
      nullptr, "C:\\Orvane\\QpadDevices\\Vid0A7CPid0019");
  EXPECT_EQ(r.messages, "");
  // Found through the DLLs folder two levels up; loaded once however often it is named.
  EXPECT_EQ(fakeLibraries.loads, std::vector<std::string>{dll});
  ASSERT_EQ(modules.Libraries().size(), 1u);
  ASSERT_EQ(modules.Functions().size(), 2u);
  EXPECT_NE(modules.Functions()[0].address, nullptr);
  EXPECT_EQ(modules.Functions()[1].address, nullptr);  // not exported: skipped
  EXPECT_EQ(modules.Functions()[1].procedure, "Other");
}

TEST_F(ModulePragmaTest, MissingLibraryIsSkippedSilentlyAndTriedAgainLater) {
  PreprocessResult r =
      Preprocess("#pragma module \"none.dll\"\n#pragma moduleFunction \"int AddInts(int, int)\"");
  EXPECT_EQ(r.messages, "");
  ASSERT_NE(modules.CurrentLibrary(), nullptr);
  EXPECT_EQ(modules.CurrentLibrary()->handle, nullptr);
  EXPECT_EQ(modules.Functions().size(), 1u);
  // A later run finds it once it is there.
  fakeLibraries.Add("none.dll", {"AddInts"});
  Preprocess("#pragma module \"none.dll\"\n#pragma moduleFunction \"int AddInts(int, int)\"");
  EXPECT_EQ(modules.Functions().size(), 1u);
  EXPECT_NE(modules.Functions()[0].address, nullptr);
  // Each run starts without a current library.
  Preprocess("");
  EXPECT_EQ(modules.CurrentLibrary(), nullptr);
}

TEST_F(ModulePragmaTest, BareWordParameterIsReportedAndUsedAllTheSame) {
  PreprocessResult r = Preprocess("#pragma module Lib");
  EXPECT_EQ(r.messages, "Root (0) Error : Pragma parameter should be a string literal.\n");
  EXPECT_EQ(fakeLibraries.loads, std::vector<std::string>{"i"});
}

// Scripts against the test library in build/bin, on real engines.
class ModuleLibraryTest : public ::testing::Test {
 protected:
  ModuleLibraryTest() : run(&SystemLibraries(), &RealFiles()) {}

  PreprocessResult Preprocess(asIScriptEngine* engine, const std::string& script) {
    return run.Preprocess(script, engine, bin);
  }
  // Preprocesses on the fixture's engine, builds and runs main(); returns what it printed.
  std::string BuildAndRun(ScriptFixture& fixture, const std::string& body) {
    PreprocessResult r = Preprocess(fixture.Engine(), kPragmas);
    EXPECT_EQ(r.messages, "");
    EXPECT_EQ(fixture.Run(body, WithoutDirectiveLines(r.out)), 0) << fixture.Messages();
    return fixture.Output();
  }

  static inline const std::string kPragmas =
      "#pragma module \"PragmaTestModule.dll\"\r\n"
      "#pragma moduleFunction \"int Scale(int value, float factor)\"\r\n"
      "#pragma moduleFunction \"int AddInts(int, int)\"\r\n"
      "#pragma moduleFunction \"int Missing(int)\"\r\n";
  std::string bin = testsupport::EnvOr("ORVANE_BIN");
  PreprocessorFixture run;
};

TEST_F(ModuleLibraryTest, FunctionsAreRegisteredOnEveryEngineThatBuildsTheScript) {
  ASSERT_FALSE(bin.empty());
  ScriptFixture first;
  EXPECT_EQ(BuildAndRun(first, "print(Scale(10, 2.5f)); print(AddInts(2, 3));"), "25|5");
  ASSERT_EQ(run.modules.Libraries().size(), 1u);
  EXPECT_NE(run.modules.Libraries()[0].handle, nullptr);
  // The missing export is left out; the other two are registered.
  ASSERT_EQ(run.modules.Registrations().size(), 2u);
  EXPECT_EQ(run.modules.Registrations()[0].check, DeclarationCheck::Acceptable);
  EXPECT_GE(run.modules.Registrations()[0].result, 0);

  // Another device's script on the same engine: nothing registered twice.
  EXPECT_EQ(BuildAndRun(first, "print(AddInts(1, 1));"), "2");
  ASSERT_EQ(run.modules.Registrations().size(), 2u);
  EXPECT_EQ(run.modules.Registrations()[1].check, DeclarationCheck::AlreadyPresent);

  // The next build cycle's engine gets them again.
  ScriptFixture second;
  EXPECT_EQ(BuildAndRun(second, "print(Scale(3, 2.0f));"), "6");
  EXPECT_EQ(run.modules.Registrations()[0].check, DeclarationCheck::Acceptable);
  // A script that calls the missing function fails alone.
  EXPECT_LT(second.Build("Missing(1);"), 0);
  EXPECT_EQ(second.Run("print(AddInts(4, 4));"), 0);
  EXPECT_EQ(second.Output(), "8");
}

TEST_F(ModuleLibraryTest, BadDeclarationsDoNotDisableTheEngine) {
  ASSERT_FALSE(bin.empty());
  ScriptFixture fixture;
  PreprocessResult r = Preprocess(fixture.Engine(),
                                  "#pragma module \"PragmaTestModule.dll\"\r\n"
                                  "#pragma moduleFunction \"int AddInts(nosuchtype, int)\"\r\n"
                                  "#pragma moduleFunction \"int AddInts(int, int\"\r\n"
                                  "#pragma moduleFunction \"void print(int)\"\r\n"
                                  "#pragma moduleFunction \"int print(int)\"\r\n"
                                  "#pragma moduleFunction \"int string(int)\"\r\n");
  EXPECT_EQ(r.messages, "");
  std::vector<DeclarationCheck> checks;
  for (const auto& reg : run.modules.Registrations()) checks.push_back(reg.check);
  // print and string are not exported by the library: not tried at all.
  EXPECT_EQ(checks,
            (std::vector<DeclarationCheck>{DeclarationCheck::Invalid, DeclarationCheck::Invalid}));
  EXPECT_EQ(BuildAndRun(fixture, "print(AddInts(20, 22));"), "42");

  // Another return type for the same parameters: would be refused by the engine.
  Preprocess(fixture.Engine(),
             "#pragma module \"PragmaTestModule.dll\"\r\n"
             "#pragma moduleFunction \"void AddInts(int, int)\"\r\n"
             "#pragma moduleFunction \"int AddInts(int a,int b)\"\r\n");
  checks.clear();
  for (const auto& reg : run.modules.Registrations()) checks.push_back(reg.check);
  EXPECT_EQ(checks, (std::vector<DeclarationCheck>{DeclarationCheck::Conflicts,
                                                   DeclarationCheck::AlreadyPresent}));
  EXPECT_EQ(fixture.Run("print(AddInts(1, 2));"), 0) << fixture.Messages();
  EXPECT_EQ(fixture.Output(), "3");
}

TEST(DeclarationCheck, Cases) {
  ScriptFixture fixture;
  asIScriptEngine* engine = fixture.Engine();
  struct {
    const char* declaration;
    DeclarationCheck check;
  } cases[] = {
      {"int F(int)", DeclarationCheck::Acceptable},
      {"void F(const string &in, uint8[] &inout)", DeclarationCheck::Acceptable},
      {"void print(int)", DeclarationCheck::AlreadyPresent},
      {"void  print( int value )", DeclarationCheck::AlreadyPresent},
      {"int print(int)", DeclarationCheck::Conflicts},
      {"void print(double)", DeclarationCheck::Acceptable},
      {"void print(const int)", DeclarationCheck::Acceptable},
      {"void F(nosuchtype)", DeclarationCheck::Invalid},
      {"not a declaration", DeclarationCheck::Invalid},
      {"void string()", DeclarationCheck::Invalid},
      {"void bits8()", DeclarationCheck::Invalid},
      {"int get_x() property", DeclarationCheck::Invalid},
      {"", DeclarationCheck::Invalid},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CheckGlobalFunctionDeclaration(engine, c.declaration), c.check) << c.declaration;
  EXPECT_EQ(CheckGlobalFunctionDeclaration(nullptr, "int F(int)"), DeclarationCheck::Invalid);
  // Nothing of that touched the engine's configuration.
  EXPECT_EQ(fixture.Run("print(1);"), 0);
  EXPECT_EQ(fixture.Output(), "1");
}

}  // namespace
