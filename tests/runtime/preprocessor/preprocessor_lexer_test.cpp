#include "runtime/preprocessor/preprocessor_lexer.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/fuzz/preprocessor_fuzz.h"
#include "tests/support/random_text.h"

namespace {

using K = LexemeKind;

LexemeList Lex(std::string_view text) {
  LexemeList list;
  TokenizeScriptText(text, list);
  return list;
}

std::string Print(const LexemeList& list) {
  BufferOutputStream out;
  PrintLexemes(list, out);
  return out.Text();
}

std::string Describe(const LexemeList& list) {
  std::string s;
  for (const Lexeme& l : list) s += std::to_string(int(l.kind)) + ":[" + l.text + "] ";
  return s;
}

TEST(PreprocessorLexer, Cases) {
  struct Case {
    std::string text;
    LexemeList expected;
  } cases[] = {
      {"x=0x1F;", {{"x", K::Identifier}, {"=", K::Other}, {"0x1F", K::Number}, {";", K::Semicolon}}},
      {"  #define  A  1",
       {{" ", K::Blank}, {" ", K::Blank}, {"#define  A  1", K::Other}, {"#define", K::Directive},
        {"A", K::Identifier}, {" ", K::Blank}, {" ", K::Blank}, {"1", K::Number}}},
      {",;\n\r\t [{(]})",
       {{",", K::Comma}, {";", K::Semicolon}, {"\n", K::Newline}, {"\r", K::Newline},
        {"\t", K::Blank}, {" ", K::Blank}, {"[", K::Open}, {"{", K::Open}, {"(", K::Open},
        {"]", K::Close}, {"}", K::Close}, {")", K::Close}}},
      {"_a1 b", {{"_a1", K::Identifier}, {" ", K::Blank}, {"b", K::Identifier}}},
      // Character literals become their code; bytes from 128 count as negative.
      {"'A'", {{"65", K::Number}}},
      {"'\\n''\\t''\\r'", {{"10", K::Number}, {"9", K::Number}, {"13", K::Number}}},
      {"'\\\\''\\'''\\\"''\\0'", {{"92", K::Number}, {"39", K::Number}, {"34", K::Number}, {"0", K::Number}}},
      {"'\xe9'", {{"-23", K::Number}}},
      // What is not a one-character literal is kept as written.
      {"'ab'", {{"'ab'", K::String}}},
      {"'\\x41'", {{"'\\x41'", K::String}}},
      {"'A", {{"'", K::Other}, {"A", K::Identifier}}},
      {"'", {{"'", K::Other}}},
      // Numbers as the script compiler reads them.
      {"1.5e3f 2E-3 0b101 0o17 0d99 12. 3.14f",
       {{"1.5e3f", K::Number}, {" ", K::Blank}, {"2E-3", K::Number}, {" ", K::Blank},
        {"0b101", K::Number}, {" ", K::Blank}, {"0o17", K::Number}, {" ", K::Blank},
        {"0d99", K::Number}, {" ", K::Blank}, {"12.", K::Number}, {" ", K::Blank},
        {"3.14f", K::Number}}},
      {"0xFFu", {{"0xFF", K::Number}, {"u", K::Identifier}}},
      {"a.b", {{"a", K::Identifier}, {".", K::Other}, {"b", K::Identifier}}},
      // Strings, escaped quotes, heredocs and an unclosed one.
      {"\"a\\\"b\"c", {{"\"a\\\"b\"", K::String}, {"c", K::Identifier}}},
      {"\"\"\"say \"hi\"\r\n\"\"\";", {{"\"\"\"say \"hi\"\r\n\"\"\"", K::String}, {";", K::Semicolon}}},
      {"\"open\r\n#define X", {{"\"open\r\n#define X", K::String}}},
      // Comments; a line comment leaves its line end to newline lexemes.
      {"/* a\r\n b */x", {{"/* a\r\n b */", K::Other}, {"x", K::Identifier}}},
      {"/* open", {{"/* open", K::Other}}},
      {"// c\r\nx", {{"// c", K::Other}, {"\r", K::Newline}, {"\n", K::Newline}, {"x", K::Identifier}}},
      {"// c\rx", {{"// c", K::Other}, {"\r", K::Newline}, {"x", K::Identifier}}},
      {"/", {{"/", K::Other}}},
      // Directives: one whole-line lexeme per stretch of line, none for a '#' inside it.
      {"#", {{"#", K::Other}, {"#", K::Directive}}},
      {"#define F #(a) v",
       {{"#define F #(a) v", K::Other}, {"#define", K::Directive}, {"F", K::Identifier},
        {" ", K::Blank}, {"#", K::Directive}, {"(", K::Open}, {"a", K::Identifier},
        {")", K::Close}, {" ", K::Blank}, {"v", K::Identifier}}},
      {"x #y\r\n#z",
       {{"x", K::Identifier}, {" ", K::Blank}, {"#y", K::Other}, {"#y", K::Directive},
        {"\r", K::Newline}, {"\n", K::Newline}, {"#z", K::Other}, {"#z", K::Directive}}},
      {std::string("#a\0#b", 5),
       {{"#a", K::Other}, {"#a", K::Directive}, {std::string(1, '\0'), K::Other}, {"#b", K::Other},
        {"#b", K::Directive}}},
      {"#include \"a#b\"", {{"#include \"a#b\"", K::Other}, {"#include", K::Directive},
                            {"\"a#b\"", K::String}}},
      {"\xff\x01", {{"\xff", K::Other}, {"\x01", K::Other}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    LexemeList got = Lex(c.text);
    EXPECT_EQ(got, c.expected) << "text: " << c.text << "\ngot: " << Describe(got);
  }
}

TEST(PreprocessorLexer, PrintPutsBlanksOnlyBetweenWords) {
  struct Case {
    LexemeList list;
    const char* printed;
  } cases[] = {
      {{{"int", K::Identifier}, {" ", K::Blank}, {"x", K::Identifier}}, "int x"},
      {{{"a", K::Identifier}, {"b", K::Identifier}}, "a b"},
      {{{"1", K::Number}, {"x", K::Identifier}, {"2", K::Number}}, "1 x 2"},
      {{{"a", K::Identifier}, {"+", K::Other}, {"b", K::Identifier}}, "a+b"},
      {{{"f", K::Identifier}, {"\"s\"", K::String}, {"g", K::Identifier}}, "f\"s\"g"},
  };
  for (const Case& c : cases) EXPECT_EQ(Print(c.list), c.printed);
}

TEST(PreprocessorLexer, ScriptWithoutDirectivesPrintsBackUnchanged) {
  const std::string script =
      "void KeyDown(uint8 scan)\r\n{\r\n  double d = 1.5e3;\r\tif (scan == 0x1F) {\n"
      "    SendString(\"<Return>\\\"x\\\"\"); // done\r\n  }\n  /* a\r\n  b */ x = y*2;\r\n}";
  EXPECT_EQ(Print(Lex(script)), script);
}

TEST(PreprocessorLexer, LongLinesOfDirectivesStayLinear) {
  std::string line;
  for (int i = 0; i < 200000; ++i) line += "#a";
  LexemeList list = Lex(line);
  std::size_t total = 0;
  for (const Lexeme& l : list) total += l.text.size();
  EXPECT_EQ(list.size(), 200001u);
  EXPECT_EQ(total, 2 * line.size());
  FuzzPreprocessorLexer(reinterpret_cast<const unsigned char*>(line.data()), line.size());
}

TEST(PreprocessorLexer, CountLineBreaksCountsEachCrAndLf) {
  EXPECT_EQ(CountLineBreaks("a\r\nb\rc\nd\r\r\n"), 7u);
  EXPECT_EQ(CountLineBreaks(""), 0u);
}

TEST(PreprocessorLexerFuzz, RandomAndScriptLikeInputs) {
  std::mt19937 rng(7);
  const std::vector<std::string> pieces = {
      "#define ", "#", "'", "\"", "\"\"\"", "/*", "*/", "//", "\\", "\r", "\n", "_X", "__CMD_ID__",
      "A", "x", "0x", "1.", "e", " ", "(", ")", ",", "#define F #(a,b) a", "'\\", "\xff",
      "RUN_COMMAND"};
  for (int i = 0; i < 4000; ++i) {
    std::string input = testsupport::RandomText(rng, pieces, 48);
    FuzzPreprocessorLexer(reinterpret_cast<const unsigned char*>(input.data()), input.size());
  }
}

}  // namespace
