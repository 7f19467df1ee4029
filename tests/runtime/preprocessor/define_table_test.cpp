#include "runtime/preprocessor/define_table.h"

#include <gtest/gtest.h>

namespace {

using K = LexemeKind;

// The non-blank lexemes of a directive line, the directive word first.
LexemeList Arguments(std::string_view line) {
  LexemeList all, args;
  TokenizeScriptText(line, all);
  for (const Lexeme& l : all)
    if (l.kind != K::Blank && !IsDirectiveLine(l)) args.push_back(l);
  return args;
}

ParsedDefine Define(DefineTable& defines, std::string_view line) {
  return ParseDefine(Arguments(line), defines);
}

// Expands every identifier of text as the preprocessor's walk does, and prints the result.
std::string Expand(const DefineTable& defines, std::string_view text, bool* limit = nullptr) {
  LexemeList list;
  TokenizeScriptText(text, list);
  for (auto it = list.begin(); it != list.end();) {
    if (it->kind != K::Identifier) {
      ++it;
      continue;
    }
    ExpandResult r = ExpandIdentifier(list, defines, it, list.end());
    if (limit) *limit |= r.limitReached;
    it = r.next;
  }
  BufferOutputStream out;
  PrintLexemes(list, out);
  return out.Take();
}

DefineTable CommandDefines(const char* id) {
  DefineTable defines;
  DefineString(defines, "RUN_COMMAND", "RUN_CUSTOM_COMMAND___CMD_ID__");
  DefineString(defines, "CUSTOM_COMMAND_ID", "__CMD_ID__");
  DefineString(defines, "__CMD_ID__", id);
  return defines;
}

TEST(ParseDefine, ErrorsAndTheirTexts) {
  struct Case {
    const char* line;
    DefineStatus status;
    const char* message;
  } cases[] = {
      {"#define", DefineStatus::NoArguments, "Define directive without arguments."},
      {"#define F # x", DefineStatus::ExpectedArguments, "Expected arguments."},
      {"#define F #(1) v", DefineStatus::ExpectedIdentifier, "Expected identifier."},
      {"#define F #(a b) v", DefineStatus::ExpectedClosingParenthesis, "Expected closing parantheses."},
      {"#define F #(a,", DefineStatus::UnexpectedEndOfLine, "0x0FA3 Unexpected end of line."},
      {"#define F #(a", DefineStatus::UnexpectedEndOfLine, "0x0FA3 Unexpected end of line."},
  };
  for (const Case& c : cases) {
    DefineTable defines;
    ParsedDefine parsed = Define(defines, c.line);
    EXPECT_EQ(parsed.status, c.status) << c.line;
    EXPECT_EQ(DefineStatusMessage(parsed.status), c.message) << c.line;
    EXPECT_TRUE(defines.empty()) << c.line;
  }
  EXPECT_EQ(DefineStatusMessage(DefineStatus::Ok), "");
}

TEST(ParseDefine, NamesParametersAndValues) {
  DefineTable defines;
  ParsedDefine parsed = Define(defines, "#define MAX #(a, b,) a + b");
  EXPECT_EQ(parsed.status, DefineStatus::Ok);
  EXPECT_EQ(parsed.name, "MAX");
  const DefineEntry& max = defines.at("MAX");
  EXPECT_EQ(max.parameters, (std::map<std::string, int>{{"a", 0}, {"b", 1}}));
  EXPECT_EQ(max.value, (LexemeList{{"a", K::Identifier}, {"+", K::Other}, {"b", K::Identifier}}));

  // A value of two or more lexemes is expanded when the define is made; one is kept as written.
  Define(defines, "#define A 1 + 2");
  Define(defines, "#define B A 3");
  Define(defines, "#define C A");
  EXPECT_EQ(defines.at("B").value, (LexemeList{{"1", K::Identifier}, {"3", K::Number}}));
  EXPECT_EQ(defines.at("C").value, (LexemeList{{"A", K::Identifier}}));
  // A later define replaces the earlier one; a name alone gives an empty value.
  Define(defines, "#define A");
  EXPECT_TRUE(defines.at("A").value.empty());
}

TEST(ExpandIdentifier, WholeNamesAndUpperCaseSuffixes) {
  DefineTable defines = CommandDefines("12");
  DefineString(defines, "A", "1");
  Define(defines, "#define SUM 1 + 2");
  Define(defines, "#define EMPTY");
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"RUN_COMMAND();", "RUN_CUSTOM_COMMAND_12();"},
      {"x = CUSTOM_COMMAND_ID;", "x = 12;"},
      {"total__CMD_ID__ total_cmd_id__", "total12 total_cmd_id__"},
      {"A a A_ xA", "1 a A_ xA"},  // whole names match whatever their case; A is no suffix
      {"y = SUM;", "y = 1;"},     // only the first value lexeme is used
      {"f(EMPTY);", "f();"},
      {"MAX(1,2)", "MAX(1,2)"},
  };
  for (const Case& c : cases) EXPECT_EQ(Expand(defines, c.in), c.out) << c.in;

  // The first match in name order wins: "A_B" sorts before "_B".
  DefineTable order;
  DefineString(order, "_B", "suffix");
  DefineString(order, "A_B", "whole");
  EXPECT_EQ(Expand(order, "A_B C_B"), "whole Csuffix");
}

TEST(ExpandIdentifier, KeepsKindAndStepsOverBlanks) {
  DefineTable defines = CommandDefines("4");
  LexemeList list;
  TokenizeScriptText("n__CMD_ID__  \t;", list);
  ExpandResult r = ExpandIdentifier(list, defines, list.begin(), list.end());
  EXPECT_EQ(list.front(), (Lexeme{"n4", K::Identifier}));
  EXPECT_EQ(r.next->kind, K::Semicolon);
  EXPECT_FALSE(r.limitReached);
}

TEST(ExpandIdentifier, DefinesWithoutEndStop) {
  struct Case {
    const char* defines;
    const char* text;
  } cases[] = {
      {"#define X X", "X"},
      {"#define P Q\n#define Q P", "P"},
      {"#define _G a_G", "_G"},  // grows by one letter each time
  };
  for (const Case& c : cases) {
    DefineTable defines;
    std::string lines = c.defines;
    for (std::size_t start = 0; start < lines.size();) {
      std::size_t end = lines.find('\n', start);
      if (end == std::string::npos) end = lines.size();
      Define(defines, lines.substr(start, end - start));
      start = end + 1;
    }
    bool limit = false;
    std::string out = Expand(defines, c.text, &limit);
    EXPECT_TRUE(limit) << c.defines;
    EXPECT_LE(out.size(), std::size_t(kMaxExpansionsPerLexeme) + 2) << c.defines;
  }
  // A value that would grow past the size bound stops too.
  DefineTable big;
  DefineString(big, "_H", std::string(kMaxExpandedLexemeBytes / 2, 'h') + "_H");
  bool limit = false;
  EXPECT_LE(Expand(big, "_H", &limit).size(), kMaxExpandedLexemeBytes);
  EXPECT_TRUE(limit);
}

TEST(DefineHelpers, LineFileStringAndIdentifiers) {
  DefineTable defines;
  DefineLine(defines, 4);
  DefineFile(defines, "C:\\x\\t\"a.oxs");
  DefineString(defines, "__CCNAME__", MakeIdentifier("C:\\x\\My File.oxc"));
  EXPECT_EQ(defines.at("__LINE__").value, (LexemeList{{"4", K::Number}}));
  // Escaped as in a string constant, where "\\t" would read as a tab.
  EXPECT_EQ(defines.at("__FILE__").value, (LexemeList{{R"("C:\\x\\t\"a.oxs")", K::String}}));
  // Bytes from 0x80 on as two-digit escapes, also before a hex digit and at the end.
  DefineFile(defines, "C:\\Caf\xE9\\\xC3\xA9" "a\xFF");
  EXPECT_EQ(defines.at("__FILE__").value,
            (LexemeList{{R"("C:\\Caf\xE9\\\xC3\xA9a\xFF")", K::String}}));
  EXPECT_EQ(defines.at("__CCNAME__").value, (LexemeList{{"C__x_My_File_oxc", K::String}}));
  EXPECT_EQ(MakeIdentifier("\"C:\\a.oxs\""), "C__a_oxs");
  EXPECT_EQ(MakeIdentifier("\""), "");
  EXPECT_EQ(MakeIdentifier(std::string("a\0\xff", 3)), "a__");
}

}  // namespace
