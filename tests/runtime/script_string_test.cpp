// The script string type through the real engine: each row of its registration table,
// checked by scripts that print their results.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/script_string.h"
#include "tests/runtime/script_fixture.h"

namespace {

struct ScriptCase {
  const char* row;
  const char* body;
  const char* printed;
};

const ScriptCase kStringRows[] = {
    {"type and constructor", R"(string s; print(s.length()); print(s == "");)", "0|true"},
    {"factory keeps the bytes before a zero", R"(print("ab\0cd".length()); print("ab\0cd");)",
     "2|ab"},
    {"factory", R"(print("Qpad"); print("".length());)", "Qpad|0"},
    {"destructor, many temporaries",
     R"(string all; for (int i = 0; i < 2000; i++) { string t = "x"; all += t; }
        print(all.length());)",
     "2000"},
    {"assignment copies", R"(string a = "x"; string b; b = a; a = "y"; print(b); print(a);)",
     "x|y"},
    {"assignment returns the string", R"(string a; string b; b = a = "z"; print(b + a);)", "zz"},
    {"add-assign appends", R"(string a = "ab"; a += "cd"; print(a); a += a; print(a);)",
     "abcd|abcdabcd"},
    {"equal: same length and bytes",
     R"(print("ab" == "ab"); print("ab" == "abc"); print("ab" == "aB"); print("" == "");)",
     "true|false|false|true"},
    {"equal: zero bytes are text",
     R"(string a; a.resize(2, 0); string b; b.resize(3, 0); print(a == b);
        b.resize(2, 0); print(a == b);)",
     "false|true"},
    {"not equal", R"(print("ab" != "ab"); print("ab" != "ac"); print("ab" != "a");)",
     "false|true|true"},
    {"less or equal", R"(print("abc" <= "abc"); print("abd" <= "abc"); print("ab" <= "abc");)",
     "true|false|true"},
    {"greater or equal",
     R"(print("abc" >= "abc"); print("abc" >= "abd"); print("abc" >= "ab");)",
     "true|false|true"},
    {"less than",
     R"(print("abc" < "abd"); print("abc" < "ab"); print("abc" < "abc"); print("B" < "a");)",
     "true|false|false|true"},
    {"greater than", R"(print("abc" > "ab"); print("abd" > "abc"); print("a" > "a");)",
     "true|true|false"},
    {"comparison by unsigned bytes",
     R"(string e9; e9.resize(1, 0xE9); string ff; ff.resize(1, 0xFF);
        string nul; nul.resize(1, 0);
        print(e9 > "z"); print(e9 < ff); print(nul < "A"); print(nul > "");)",
     "true|true|true|true"},
    {"add: left then right", R"(print("ab" + "cd"); string a = "x"; print(a + a + "y");)",
     "abcd|xxy"},
    {"length counts bytes", R"(string s = "abc"; print(s.length()); s.resize(5, 0);
        print(s.length());)",
     "3|5"},
    {"find",
     R"(string s = "abcabc";
        print(s.find("c", 0)); print(s.find("c", 2)); print(s.find("c", 3));
        print(s.find("abc", 1)); print(s.find("abc", 4)); print(s.find("x", 0));)",
     "2|2|5|3|4294967295|4294967295"},
    {"find: empty and past the end",
     R"(string s = "abcabc";
        print(s.find("", 0)); print(s.find("", 6)); print(s.find("", 7));
        print(s.find("c", 0xFFFFFFFF)); print("".find("", 0)); print("".find("a", 0));)",
     "0|6|4294967295|4294967295|0|4294967295"},
    {"find on a constant and a const reference",
     R"(print("key".find("y", 0)); const string k = "key"; print(k.find("k", 0));)", "2|0"},
    {"rfind",
     R"(string s = "abcabc";
        print(s.rfind("c", 0xFFFFFFFF)); print(s.rfind("c", 5)); print(s.rfind("c", 4));
        print(s.rfind("abc", 3)); print(s.rfind("abc", 2)); print(s.rfind("a", 0));)",
     "5|5|2|3|0|0"},
    {"rfind: not found, empty, too long",
     R"(string s = "abcabc";
        print(s.rfind("c", 1)); print(s.rfind("x", 100)); print(s.rfind("", 100));
        print(s.rfind("", 2)); print(s.rfind("abcabcd", 100)); print("".rfind("", 0));)",
     "4294967295|4294967295|6|2|4294967295|0"},
    {"resize",
     R"(string s = "abc"; s.resize(5, 0x78); print(s); s.resize(1, 0); print(s);
        s.resize(3, 0x141); print(s); s.resize(0, 0); print(s.length());)",
     "abcxx|a|aAA|0"},
    {"double: assign, append, add",
     R"(string s = "q"; s = 0.5; print(s); s += 1.25; print(s);
        print("x" + 3.0); print(2.5 + "y");)",
     "0.5|0.51.25|x3|2.5y"},
    {"double: default general format",
     R"(print("" + 1.0 / 3.0); print("" + 123456789.0); print("" + 1e20);
        print("" + (-0.000012345)); print("" + 100000.0); print("" + 0.0);)",
     "0.333333|1.23457e+08|1e+20|-1.2345e-05|100000|0"},
    {"int: assign, append, add",
     R"(string s = "q"; s = -5; print(s); s += -5; print(s); print("a" + 7); print(7 + "b");
        int least = -2147483647 - 1; print("" + least); string n = "n=" + 5; print(n);)",
     "-5|-5-5|a7|7b|-2147483648|n=5"},
    {"uint: assign, append, add",
     R"(uint u = 0xFFFFFFFF; string s = "q"; s = u; print(s); s += u; print(s);
        print("a" + u); print(u + "b"); print("" + 0x10);)",
     "4294967295|42949672954294967295|a4294967295|4294967295b|16"},
    // bits is uint in this engine, so its text is decimal.
    {"bits: decimal text",
     R"(bits b = 255; string s; s += b; print(s); print("" + bits8(300));
        bits8 leds = 0x40; leds ^= 0xFF; print("" + leds); bits16 w = 0xFFFF; print(w + "");)",
     "255|44|191|65535"},
};

TEST(ScriptString, EveryRowOfTheTable) {
  ScriptFixture script;
  ASSERT_TRUE(script.Registrar().Ok()) << script.Registrar().FailureText();
  for (const ScriptCase& c : kStringRows) {
    SCOPED_TRACE(c.row);
    ASSERT_EQ(script.Run(c.body), asEXECUTION_FINISHED) << script.Messages() << script.Exception();
    EXPECT_EQ(script.Output(), c.printed);
  }
}

// Every ordering operator on texts that differ in their high, low and zero bytes agrees with
// an unsigned byte-wise comparison where a prefix is smaller.
TEST(ScriptString, ComparisonsAgreeWithUnsignedBytes) {
  const std::vector<std::string> texts = {
      "", std::string(1, '\0'), std::string("\0\0", 2), "\x01", "A", "B", "a", "ab", "abc",
      "abd", "\x7F", "\x80", "\xE9", "\xFF", std::string("\xFF\0", 2), "\xFF\x01"};
  ScriptFixture script;
  ASSERT_EQ(script.Build("", R"(
      void cmp(const string &in a, const string &in b) {
        print(a == b); print(a != b); print(a < b); print(a <= b); print(a > b); print(a >= b);
        print(a.opCmp(b));
      })"),
            0)
      << script.Messages();
  asIScriptFunction* cmp = script.Engine()->GetModule("test")->GetFunctionByName("cmp");
  ASSERT_NE(cmp, nullptr);
  auto b = [](bool v) { return std::string(v ? "true" : "false"); };
  for (std::string a : texts) {
    for (std::string c : texts) {
      const bool less = std::lexicographical_compare(
          a.begin(), a.end(), c.begin(), c.end(),
          [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
      const bool more = std::lexicographical_compare(
          c.begin(), c.end(), a.begin(), a.end(),
          [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
      const bool same = !less && !more;
      const std::string expected = b(same) + "|" + b(!same) + "|" + b(less) + "|" +
                                   b(less || same) + "|" + b(more) + "|" + b(more || same) +
                                   "|" + (less ? "-1" : more ? "1" : "0");
      ASSERT_GE(script.Prepare(cmp), 0);
      script.Context()->SetArgAddress(0, &a);
      script.Context()->SetArgAddress(1, &c);
      ASSERT_EQ(script.Execute(), asEXECUTION_FINISHED);
      EXPECT_EQ(script.Output(), expected) << "texts of sizes " << a.size() << " and " << c.size();
    }
  }
}

TEST(ScriptString, ValueTexts) {
  EXPECT_EQ(ValueText(0.5), "0.5");
  EXPECT_EQ(ValueText(1e20), "1e+20");
  EXPECT_EQ(ValueText(-5), "-5");
  EXPECT_EQ(ValueText(0xFFFFFFFFu), "4294967295");
}

// A string the host cannot allocate ends the script with an exception; no host exception
// gets past the engine.
TEST(ScriptString, ImpossibleResizeEndsTheScriptOnly) {
  ScriptFixture script;
  EXPECT_EQ(script.Run(R"(string s = "a"; s.resize(0xFFFFFFFF, 0); print("not reached");)"),
            asEXECUTION_EXCEPTION);
  EXPECT_EQ(script.Output(), "");
  EXPECT_FALSE(script.Exception().empty());
  EXPECT_EQ(script.Run(R"(print("after");)"), asEXECUTION_FINISHED);
  EXPECT_EQ(script.Output(), "after");
}

}  // namespace
