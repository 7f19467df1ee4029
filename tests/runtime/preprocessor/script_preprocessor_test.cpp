#include "runtime/preprocessor/script_preprocessor.h"

#include <gtest/gtest.h>

#include <random>

#include "runtime/preprocessor/include_loader.h"
#include "tests/fuzz/preprocessor_fuzz.h"
#include "tests/runtime/preprocessor/preprocessor_fixture.h"
#include "tests/runtime/script/script_fixture.h"
#include "tests/support/random_text.h"

namespace {

std::string Err(const std::string& file, int line, const std::string& message) {
  return file + " (" + std::to_string(line) + ") Error : " + message + "\n";
}
std::string Warn(const std::string& file, int line, const std::string& text) {
  return file + " (" + std::to_string(line) + ") Warning : " + text + "\n";
}

const std::string kA = "C:\\s\\a.oxs";
const std::string kB = "C:\\s\\b.oxs";

// const: keeps "text" + Begin(...) off a GCC 12 -Wrestrict false alarm.
const std::string Begin(const std::string& path) {
  return "\r\n#including_file: \"" + path + "\"\r\n";
}
const std::string End(const std::string& path) { return "\r\n#end_include: \"" + path + "\"\r"; }

struct Case {
  const char* name;
  std::string root;
  std::string out;
  std::string messages;
};

class PreprocessorTest : public ::testing::Test, public PreprocessorFixture {};

TEST_F(PreprocessorTest, Directives) {
  const Case cases[] = {
      {"define replaces later uses", "#define A 1\nint x = A;\n", "#define A 1\nint x = 1;\n", ""},
      {"only the first value lexeme is used", "#define A 1 + 2\nA;", "#define A 1 + 2\n1;", ""},
      {"undef", "#define A 1\n#undef A\nA;", "#define A 1\n#undef A\nA;", ""},
      {"directive words ignore case", "#DeFiNe A 1\nA", "#DeFiNe A 1\n1", ""},
      {"define without a name", "#define\nx", "#define\nx",
       Err("Root", 0, "Define directive without arguments.")},
      {"parameter list without (", "#define F # x\n", "#define F # x\n",
       Err("Root", 0, "Expected arguments.")},
      {"ifdef of an undefined name skips to its endif", "#ifdef X\na\n#endif\nb\n",
       "#ifdef X\r\n#endif\nb\n", ""},
      {"ifdef of a defined name keeps the block", "#define X\n#ifdef X\na\n#endif\n",
       "#define X\n#ifdef X\na\n#endif\n", ""},
      {"ifndef", "#define X\n#ifndef X\na\n#endif\nb", "#define X\n#ifndef X\r\n#endif\nb", ""},
      {"upper-case IFDEF and ENDIF", "#IFDEF X\na\n#ENDIF\nb", "#IFDEF X\r\n#ENDIF\nb", ""},
      {"nested blocks inside a skipped one", "#ifdef X\n#ifdef Y\na\n#endif\nb\n#endif\nc",
       "#ifdef X\r\n#endif\nc", ""},
      {"unterminated ifdef drops the rest", "x\r\n#ifdef X\r\na\r\nb", "x\r\n#ifdef X",
       Err("Root", 2, "0x0FA4 Unexpected end of file.")},
      {"unterminated ifdef of a defined name", "#define X\n#ifdef X\na", "#define X\n#ifdef X\na",
       ""},
      {"ifdef without a name", "#ifdef\na", "#ifdef\na", Err("Root", 0, "Expected argument.")},
      {"ifdef with two names", "#ifdef A B\na", "#ifdef A B\na",
       Err("Root", 0, "Too many arguments.")},
      {"endif alone", "#endif\na", "#endif\na", ""},
      {"else is not supported", "#define X\n#ifdef X\na\n#Else\nb\n#endif",
       "#define X\n#ifdef X\na\n#Else\nb\n#endif",
       Warn("Root", 3, "#else is not supported; the line is removed.")},
      {"unknown directive", "#frobnicate 1 2\na", "#frobnicate 1 2\na", ""},
      {"warning keeps the quotes", "\r\n#warning \"look\"\r\n", "\r\n#warning \"look\"\r\n",
       Warn("Root", 2, "\"look\"")},
      {"warning without text", "#warning", "#warning", Err("Root", 0, "Expected argument.")},
      {"error on the third line of a CR LF file", "a\r\nb\r\n#undef\r\n", "a\r\nb\r\n#undef\r\n",
       Err("Root", 4, "Define directive without arguments.")},
      {"lines inside a block comment count", "/* a\r\nb */\r\n#undef", "/* a\r\nb */\r\n#undef",
       Err("Root", 4, "Define directive without arguments.")},
      {"lines of a skipped block count", "#ifdef X\na\nb\n#endif\n#undef",
       "#ifdef X\r\n#endif\n#undef", Err("Root", 4, "Define directive without arguments.")},
      {"define_cc", "#define_cc 12 name\nRUN_COMMAND();",
       "#define_cc 12 name\nRUN_CUSTOM_COMMAND_12();", ""},
      {"define_cc without arguments", "#define_cc", "#define_cc",
       Err("Root", 0, "Expected argument.")},
      {"custom command id", "#define __CMD_ID__ 3\nint x = CUSTOM_COMMAND_ID;",
       "#define __CMD_ID__ 3\nint x = 3;", ""},
      {"delta_cc subtracts", "#define __CMD_ID__ 3\n#delta_cc -1\nx__CMD_ID__",
       "#define __CMD_ID__ 3\n#delta_cc -1\nx2", ""},
      {"delta_cc without a define starts at 0", "#delta_cc 5\nCUSTOM_COMMAND_ID", "#delta_cc 5\n5",
       ""},
      {"delta_cc of an empty define", "#define __CMD_ID__\n#delta_cc 2\nCUSTOM_COMMAND_ID",
       "#define __CMD_ID__\n#delta_cc 2\n2", ""},
      {"define_delta of an undefined name", "#define_delta N 5\nN", "#define_delta N 5\n5", ""},
      {"define_delta twice", "#define_delta N 5\n#define_delta N -7\nN",
       "#define_delta N 5\n#define_delta N -7\n-2", ""},
      {"define_delta without arguments", "#define_delta", "#define_delta",
       Err("Root", 0, "Expected argument.")},
      {"instance", "#define __CMD_ID__ 7\n#instance int hits = 0\nhits++;",
       "#define __CMD_ID__ 7\n#instance int hits = 0\n#define hits hits_INSTVAR___CMD_ID__\r\n"
       "int hits_INSTVAR_7 = 0;\r\nhits_INSTVAR_7++;",
       ""},
      {"instance of a name alone", "#inst hits\nhits",
       "#inst hits\n#define hits hits_INSTVAR___CMD_ID__\r\nhits_INSTVAR___CMD_ID__", ""},
      {"instance with a trailing comment", "#instvar int n = 1 // count\nn",
       "#instvar int n = 1 // count\n#define n n_INSTVAR___CMD_ID__\r\nint n_INSTVAR___CMD_ID__ = "
       "1 ;\r\nn_INSTVAR___CMD_ID__",
       ""},
      {"instance without a name", "#instance = 1", "#instance = 1",
       Err("Root", 0, "Expected argument.")},
      {"global declared once", "#global int total = 0\n#glob int total = 0\ntotal",
       "#global int total = 0\n#ifndef _GLOBLEVAR_total\r\n#define _GLOBLEVAR_total\r\nint total = "
       "0;\r\n#endif\r\n"
       "#glob int total = 0\n#ifndef _GLOBLEVAR_total\r\n#endif\r\ntotal",
       ""},
      {"lines of inserted text do not count", "#instance int a = 0\n#undef",
       "#instance int a = 0\n#define a a_INSTVAR___CMD_ID__\r\nint a_INSTVAR___CMD_ID__ = "
       "0;\r\n#undef",
       Err("Root", 1, "Define directive without arguments.")},
      {"pragma without a name", "#pragma", "#pragma", Err("Root", 0, "Pragmas need arguments.")},
      {"unknown pragma", "#pragma oNce", "#pragma oNce", Err("Root", 0, "Unknown pragma command.")},
      {"pragma parameters", "#pragma once x \"y\"", "#pragma once x \"y\"",
       Err("Root", 0, "Pragma parameter should be a string literal.") +
           Err("Root", 0, "Too many parameters to pragma.")},
      {"include without a name", "#include", "#include", Err("Root", 0, "Expected argument.")},
      {"include with too much", "#include \"a.oxs\" x", "#include \"a.oxs\" x",
       Err("Root", 0, "Too many arguments.")},
      {"include of a missing file", "\n#include \"none.oxs\"\n", "\n#include \"none.oxs\"\n",
       Err("Root", 1, "Could not open file none.oxs")},
      {"unclosed angle include", "#include <a.oxs", "#include <a.oxs",
       Err("Root", 0, "Expected >.")},
      {"self-naming define ends", "#define A xA\nA", "#define A xA\nxA", ""},
  };
  for (const Case& c : cases) {
    PreprocessResult r = Preprocess(c.root);
    EXPECT_EQ(r.out, c.out) << c.name;
    EXPECT_EQ(r.messages, c.messages) << c.name;
    int errors = 0;
    for (std::size_t p = 0; (p = c.messages.find(") Error : ", p)) != std::string::npos; ++p)
      ++errors;
    EXPECT_EQ(r.errors, errors) << c.name;
  }
}

TEST_F(PreprocessorTest, ReplacementThatNeverEndsIsBoundedAndReported) {
  PreprocessResult r = Preprocess("#define _X a_X\ny_X;");
  EXPECT_TRUE(r.out.starts_with("#define _X a_X\ny"));
  EXPECT_TRUE(r.out.ends_with("_X;"));
  EXPECT_EQ(r.messages, Err("Root", 1, "Define replacement of y_X does not end."));
  EXPECT_EQ(r.errors, 1);
}

TEST_F(PreprocessorTest, IncludesGoBetweenMarkersAndKeepTheirLines) {
  memory.Put(kA, "int a = A;\n#include \"b.oxs\"\nint c;");
  memory.Put(kB, "int b = __LINE__;\n#undef");
  PreprocessResult r =
      Preprocess("#define A 1\r\n#include \"a.oxs\"\r\nint z = __LINE__;\r\n#undef");
  EXPECT_EQ(r.out, "#define A 1\r\n#include \"a.oxs\"" + Begin(kA) +
                       "int a = 1;\r\n#include \"b.oxs\"" + Begin(kB) + "int b = 0;\r\n#undef" +
                       End(kB) + "\r\nint c;" + End(kA) + "\r\nint z = 4;\r\n#undef");
  // Each message names the file and its own line (included files get CR LF line ends); the
  // includer's lines go on after the include.
  EXPECT_EQ(r.messages, Err(kB, 2, "Define directive without arguments.") +
                            Err("Root", 6, "Define directive without arguments."));
  EXPECT_EQ(r.errors, 2);
}

TEST_F(PreprocessorTest, FileNamesAreDefinedPerFile) {
  memory.Put(kA, "__FILE__ __CCNAME__");
  PreprocessResult r = Preprocess("#include \"a.oxs\"\r\n__FILE__");
  EXPECT_EQ(r.out, "#include \"a.oxs\"" + Begin(kA) + R"("C:\\s\\a.oxs" C__s_a_oxs)" + End(kA) +
                       "\r\n\"Root\"");
}

TEST_F(PreprocessorTest, AScriptReadsTheFileNameAsItIs) {
  const std::string path = "C:\\tmp\\new\\x.oxs";  // \t and \n would be escapes
  memory.Put(path, "string file = __FILE__;\r\nint __CCNAME__ = 7;\r\n");
  PreprocessResult r = Preprocess("#include \"" + path + "\"\r\n");
  ASSERT_EQ(r.messages, "");
  ScriptFixture script;
  // The identifier made from the path is made from the path itself, not from the constant.
  ASSERT_EQ(script.Run("print(file); print(C__tmp_new_x_oxs);", r.out), 0) << script.Messages();
  EXPECT_EQ(script.Output(), path + "|7");
}

TEST_F(PreprocessorTest, AScriptReadsTheBytesOfANonAsciiFileName) {
  const std::string paths[] = {
      "C:\\Caf\xE9\\M\xFCller.oxs",   // ANSI: not UTF-8, which the compiler would re-encode
      "C:\\Caf\xC3\xA9\\x.oxs",       // UTF-8
      "C:\\\xE9" "ab\\\xFF.oxs",      // a byte before hex digits, and 0xFF
  };
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    memory.Put(path, "string file = __FILE__;\r\n");
    PreprocessResult r = Preprocess("#include \"" + path + "\"\r\n");
    ASSERT_EQ(r.messages, "");
    ScriptFixture script;
    ASSERT_EQ(script.Run("print(file);", r.out), 0) << script.Messages();
    EXPECT_EQ(script.Output(), path);
    EXPECT_EQ(script.Messages(), "");  // no warning of a bad UTF-8 sequence either
  }
}

TEST_F(PreprocessorTest, AngleIncludeAndIncludingFilesFolder) {
  memory.Put("C:\\lib\\x.oxs", "#include \"y.oxs\"");
  memory.Put("C:\\lib\\y.oxs", "y");
  PreprocessResult r = Preprocess("#include <C:\\lib\\x.oxs>");
  EXPECT_EQ(r.messages, "");
  EXPECT_NE(r.out.find("#including_file: <C:\\lib\\x.oxs>"), std::string::npos);
  EXPECT_NE(r.out.find("#including_file: \"C:\\lib\\y.oxs\"\r\ny"), std::string::npos);
}

TEST_F(PreprocessorTest, PragmaOnceKeepsASecondIncludeOutWithoutAnError) {
  memory.Put(kA, "#pragma once\r\nint a;");
  memory.Put(kB, "int b;");
  PreprocessResult r =
      Preprocess("#include \"a.oxs\"\n#include \"a.oxs\"\n#include \"b.oxs\"\n#include \"b.oxs\"");
  EXPECT_EQ(r.messages, "");
  EXPECT_EQ(r.errors, 0);
  std::size_t first = r.out.find("int a;");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(r.out.find("int a;", first + 1), std::string::npos);
  std::size_t b = r.out.find("int b;");
  EXPECT_NE(r.out.find("int b;", b + 1), std::string::npos);  // without once: twice
  // The run's handler is gone afterwards; the spellings other than once, Once, ONCE are unknown.
  EXPECT_EQ(pragmas.Find("once"), nullptr);
  memory.Put(kA, "#pragma Once\r\n#pragma ONCE\r\n#pragma oNce\r\n");
  r = Preprocess("#include \"a.oxs\"\n#include \"a.oxs\"");
  EXPECT_EQ(r.messages, Err(kA, 4, "Unknown pragma command."));
}

TEST_F(PreprocessorTest, GlobalInTwoIncludedFilesIsDeclaredOnce) {
  memory.Put(kA, "#global int total = 0\r\n");
  memory.Put(kB, "#global int total = 0\r\n");
  PreprocessResult r = Preprocess("#include \"a.oxs\"\n#include \"b.oxs\"\nvoid f() { total++; }");
  std::size_t first = r.out.find("int total = 0;");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(r.out.find("int total = 0;", first + 1), std::string::npos);
  EXPECT_EQ(r.messages, "");
}

TEST_F(PreprocessorTest, InstanceVariablesPerCustomCommandInclude) {
  memory.Put("C:\\s\\count.oxc", "#instance int hits = 0\r\nvoid RUN_COMMAND() { hits++; }\r\n");
  PreprocessResult r = Preprocess(
      "#define __CMD_ID__ 3\r\n#include \"count.oxc\"\r\n#define __CMD_ID__ 4\r\n#include "
      "\"count.oxc\"\r\n"
      "void f() { RUN_CUSTOM_COMMAND_3(); RUN_CUSTOM_COMMAND_4(); }");
  EXPECT_EQ(r.messages, "");
  for (const char* text :
       {"int hits_INSTVAR_3 = 0;", "void RUN_CUSTOM_COMMAND_3() { hits_INSTVAR_3++; }",
        "int hits_INSTVAR_4 = 0;", "void RUN_CUSTOM_COMMAND_4() { hits_INSTVAR_4++; }"})
    EXPECT_NE(r.out.find(text), std::string::npos) << text;
}

TEST_F(PreprocessorTest, CustomCommandsFolderOfAnotherDataRoot) {
  memory.Put("D:\\Orvane\\Custom Commands\\cc.oxc", "cc");
  extraFolders = {"D:\\Orvane\\Custom Commands"};
  PreprocessResult r = Preprocess("#include \"cc.oxc\"", nullptr, "E:\\data\\Vid0A7CPid0019");
  EXPECT_EQ(r.messages, "");
  EXPECT_NE(r.out.find("\r\ncc\r\n"), std::string::npos);
}

TEST_F(PreprocessorTest, OldIncludeBlocksInTheRootAreDropped) {
  memory.Put(kA, "new");
  PreprocessResult r = Preprocess("#include \"a.oxs\"" + Begin(kA) + "old" + End(kA) + "\r\nx");
  EXPECT_EQ(r.out, "#include \"a.oxs\"" + Begin(kA) + "new" + End(kA) + "\r\nx");
}

TEST_F(PreprocessorTest, AFileOnTheChainOfItsIncludersIsNotIncludedAgain) {
  // The root (read from Script_1.oxs, asked for by another name) -> a -> b -> a, and b -> root.
  const std::string root = "#include \"a.oxs\"\r\nint root;";
  const std::string script = "C:\\s\\Script_1.oxs";
  memory.Put(script, root);
  memory.Put(kA, "#include \"b.oxs\"\r\nint a;");
  memory.Put(kB, "#include \"a.oxs\"\r\n#include \"Script_1.oxs\"\r\nint b;");
  rootFile = script;
  PreprocessResult r = Preprocess(root);
  EXPECT_EQ(r.errors, 0);
  EXPECT_EQ(r.messages,
            Warn(kB, 0, "Include cycle not followed: " + kA + " -> " + kB + " -> " + kA) +
                Warn(kB, 2, "Include cycle not followed: " + script + " -> " + kA + " -> " + kB +
                                " -> " + script));
  for (const char* text : {"int a;", "int b;", "int root;"}) {
    const std::size_t first = r.out.find(text);
    EXPECT_NE(first, std::string::npos) << text;
    EXPECT_EQ(r.out.find(text, first + 1), std::string::npos) << text;
  }
  // A file that includes itself, whatever the case of the name.
  memory.Put(kA, "#include \"a.oxs\"\r\n#include \"C:\\S\\A.OXS\"\r\nint a;");
  r = Preprocess("#include \"a.oxs\"");
  EXPECT_EQ(r.errors, 0);
  EXPECT_EQ(r.messages, Warn(kA, 0, "Include cycle not followed: " + kA + " -> " + kA) +
                            Warn(kA, 2, "Include cycle not followed: " + kA + " -> " + kA));
}

TEST_F(PreprocessorTest, AFileNamedAgainWithOtherSeparatorsIsOnTheChainToo) {
  // The platform reads these names as the same file: followed, each name would give the next a
  // longer one, to the nesting limit, and every branch of it.
  for (const char* alias : {"/a.oxs", "./a.oxs", "C:/s/a.oxs", "C:\\s\\\\a.oxs", "C:\\s\\.\\a.oxs"}) {
    SCOPED_TRACE(alias);
    memory.Put(kA, std::string("#include \"") + alias + "\"\r\n#include \"" + alias + "\"\r\nint a;");
    PreprocessResult r = Preprocess("#include \"a.oxs\"");
    EXPECT_EQ(r.errors, 0) << r.messages;
    EXPECT_EQ(r.out.find("int a;", r.out.find("int a;") + 1), std::string::npos) << r.messages;
    EXPECT_NE(r.messages.find("Include cycle not followed: " + kA + " -> "), std::string::npos) << r.messages;
  }
}

TEST_F(PreprocessorTest, RepeatedIncludesAndGuardedCyclesStillBuild) {
  // Side by side, a file is included as often as it is named.
  memory.Put(kB, "int b;");
  PreprocessResult r = Preprocess("#include \"b.oxs\"\r\n#include \"b.oxs\"");
  EXPECT_EQ(r.messages, "");
  EXPECT_NE(r.out.find("int b;", r.out.find("int b;") + 1), std::string::npos);
  // Files that include each other behind guards build, with a warning that names the cycle.
  memory.Put(kA, "#ifndef A_H\r\n#define A_H\r\n#include \"b.oxs\"\r\nint a = b + 1;\r\n#endif\r\n");
  memory.Put(kB, "#ifndef B_H\r\n#define B_H\r\n#include \"a.oxs\"\r\nint b = 1;\r\n#endif\r\n");
  r = Preprocess("#include \"a.oxs\"\r\n#include \"b.oxs\"\r\n");
  EXPECT_EQ(r.errors, 0);
  EXPECT_EQ(r.messages, Warn(kB, 4, "Include cycle not followed: " + kA + " -> " + kB + " -> " + kA));
  ScriptFixture script;
  ASSERT_EQ(script.Run("print(a);", r.out), 0) << script.Messages();
  EXPECT_EQ(script.Output(), "2");
}

TEST_F(PreprocessorTest, AChainOfIncludesIsBoundedByTheNestingLimit) {
  for (int i = 0; i < 70; ++i)
    memory.Put("C:\\s\\f" + std::to_string(i) + ".oxs",
               "#include \"f" + std::to_string(i + 1) + ".oxs\"\n");
  PreprocessResult r = Preprocess("#include \"f0.oxs\"");
  EXPECT_EQ(r.errors, 1);
  EXPECT_EQ(r.messages,
            Err("C:\\s\\f63.oxs", 0, "Could not open file f64.oxs (includes nested too deeply)"));
}

TEST_F(PreprocessorTest, IncludesThatMultiplyEndAtTheLoadBound) {
  // Each file includes the next twice: 2^13 loads.
  for (int i = 0; i < 13; ++i)
    memory.Put("C:\\s\\t" + std::to_string(i) + ".oxs",
               "#include \"t" + std::to_string(i + 1) + ".oxs\"\n#include \"t" +
                   std::to_string(i + 1) + ".oxs\"\n");
  memory.Put("C:\\s\\t13.oxs", "int x;\n");
  PreprocessResult r = Preprocess("#include \"t0.oxs\"");
  EXPECT_GT(r.errors, 0);
  EXPECT_NE(r.messages.find("Could not open file t13.oxs (too many includes)"), std::string::npos);
  EXPECT_LT(r.out.size(), kMaxIncludeRunBytes * 4);
}

TEST_F(PreprocessorTest, ZeroBytesInAGlobalLineDoNotMultiplyItsDeclaration) {
  using namespace std::string_literals;
  // After each zero byte the lexer copies the rest of the line into a whole-line lexeme. A
  // #global that took those copies into its declaration inserted them again for every
  // directive on the line: this line of 37 bytes (found by fuzzing) ran for minutes, and one
  // of 138 bytes went past 2 GB.
  const std::string line = "#global\0#global\0#glob\xffY#global\0#endif"s;
  EXPECT_LT(Preprocess(line).out.size(), 10 * line.size());
  // The declaration is the rest of the line, once.
  PreprocessResult r = Preprocess("#global int a\0#global int b\r\nint c;\r\n"s);
  EXPECT_NE(r.out.find("\r\nint a\0#globalint b;\r\n#endif"s), std::string::npos);
  EXPECT_EQ(r.errors, 0);
}

TEST_F(PreprocessorTest, CommandDefinesAreCopiedIntoEveryRun) {
  DefineString(commandDefines, "_SUFFIX", "9");
  EXPECT_EQ(Preprocess("x_SUFFIX RUN_COMMAND").out, "x9 RUN_CUSTOM_COMMAND___CMD_ID__");
  // Defines made by a run stay in it.
  Preprocess("#define Y 1");
  EXPECT_EQ(Preprocess("Y").out, "Y");
}

TEST_F(PreprocessorTest, LineMapGivesEachStretchItsFile) {
  memory.Put(kA, "a1\na2\n");
  PreprocessResult r = Preprocess("r1\n#include \"a.oxs\"\nr3\n");
  // Output lines count like message lines (the markers' CR LF pairs included): a1 is output
  // line 5 and line 0 of a.oxs; r3 is output line 13 and line 2 of the root.
  LineMap expected = {{"Root", 0, 0}, {kA, 1, 5}, {"Root", 12, 11}};
  EXPECT_EQ(r.lineMap, expected);
}

TEST_F(PreprocessorTest, ScriptAtAPathIncludesFromItsFolder) {
  memory.Put("D:\\scripts\\main.oxs", "#include \"lib.oxs\"\r\n#undef");
  memory.Put("D:\\scripts\\lib.oxs", "lib");
  PreprocessorSetup setup{&memory, &pragmas, &modules, &commandDefines, {}, {}};
  PreprocessedScript r = PreprocessScriptAtPath("D:\\scripts\\main.oxs", nullptr, setup);
  EXPECT_EQ(r.text, "#include \"lib.oxs\"" + Begin("D:\\scripts\\lib.oxs") + "lib" +
                        End("D:\\scripts\\lib.oxs") + "\r\n#undef");
  EXPECT_EQ(r.messages, Err("D:\\scripts\\main.oxs", 2, "Define directive without arguments."));
  EXPECT_EQ(r.errors, 1);
  r = PreprocessScriptAtPath("D:\\scripts\\none.oxs", nullptr, setup);
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(r.messages,
            Err("D:\\scripts\\none.oxs", 0, "Could not open file D:\\scripts\\none.oxs"));
  EXPECT_EQ(r.errors, 1);
}

TEST(PreprocessorFuzz, RandomAndScriptLikeInputs) {
  std::mt19937 rng(1143);
  const std::vector<std::string> pieces = {"#define ",    "#undef ",
                                           "#ifdef ",     "#ifndef ",
                                           "#endif",      "#IFDEF ",
                                           "#ENDIF",      "#include ",
                                           "#pragma ",    "once",
                                           "module ",     "moduleFunction ",
                                           "#warning ",   "#instance ",
                                           "#global ",    "#define_cc ",
                                           "#delta_cc ",  "#define_delta ",
                                           "\"a.oxs\"",   "\"b.oxs\"",
                                           "<a.oxs>",     "\"",
                                           "__CMD_ID__",  "_X",
                                           "X",           "A",
                                           "RUN_COMMAND", "CUSTOM_COMMAND_ID",
                                           "__LINE__",    "__FILE__",
                                           "=",           "-",
                                           "1",           "0x1F",
                                           "int ",        "(",
                                           ")",           ",",
                                           ";",           "\r\n",
                                           "\n",          "\r",
                                           " ",           "/*",
                                           "*/",          "//",
                                           "'",           "\f",
                                           "#",           "\\"};
  for (int i = 0; i < 10000; ++i) {
    std::string input = testsupport::RandomText(rng, pieces, 80);
    FuzzScriptPreprocessor(reinterpret_cast<const unsigned char*>(input.data()), input.size());
  }
}

}  // namespace
