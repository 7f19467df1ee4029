// The script string type through the real engine: each row of its registration table,
// checked by scripts that print their results.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/script/script_string.h"
#include "tests/runtime/script/script_fixture.h"

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
    {"find and rfind on a constant and a const reference",
     R"(print("key".find("y", 0)); const string k = "key"; print(k.rfind("k", 2));)", "2|0"},
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

constexpr unsigned kNotFound = 0xFFFFFFFF;

struct FindCase {
  const char* text;
  const char* needle;
  unsigned offset;
  unsigned find;
  unsigned rfind;
};

// find: first at or after offset; rfind: last at or before offset.
const FindCase kFindCases[] = {
    {"abcabc", "c", 0, 2, kNotFound},
    {"abcabc", "c", 2, 2, 2},
    {"abcabc", "c", 3, 5, 2},
    {"abcabc", "c", 5, 5, 5},
    {"abcabc", "c", kNotFound, kNotFound, 5},
    {"abcabc", "abc", 1, 3, 0},
    {"abcabc", "abc", 3, 3, 3},
    {"abcabc", "abc", 4, kNotFound, 3},
    {"abcabc", "a", 0, 0, 0},
    {"abcabc", "x", 0, kNotFound, kNotFound},
    {"abcabc", "abcabcd", 0, kNotFound, kNotFound},
    {"abcabc", "", 0, 0, 0},
    {"abcabc", "", 2, 2, 2},
    {"abcabc", "", 6, 6, 6},
    {"abcabc", "", 7, kNotFound, 6},
    {"", "", 0, 0, 0},
    {"", "a", 0, kNotFound, kNotFound},
};

TEST(ScriptString, FindAndRfindEdges) {
  ScriptFixture script;
  ASSERT_EQ(script.Build("", R"(
      uint Find(const string &in s, const string &in n, uint o) { return s.find(n, o); }
      uint Rfind(const string &in s, const string &in n, uint o) { return s.rfind(n, o); })"),
            0)
      << script.Messages();
  asIScriptModule* mod = script.Engine()->GetModule("test");
  auto call = [&](const char* name, std::string text, std::string needle, unsigned offset) {
    EXPECT_GE(script.Prepare(mod->GetFunctionByName(name)), 0);
    script.Context()->SetArgAddress(0, &text);
    script.Context()->SetArgAddress(1, &needle);
    script.Context()->SetArgDWord(2, offset);
    EXPECT_EQ(script.Context()->Execute(), asEXECUTION_FINISHED);
    return static_cast<unsigned>(script.Context()->GetReturnDWord());
  };
  for (const FindCase& c : kFindCases) {
    SCOPED_TRACE(std::string(c.text) + " / " + c.needle + " @ " + std::to_string(c.offset));
    EXPECT_EQ(call("Find", c.text, c.needle, c.offset), c.find);
    EXPECT_EQ(call("Rfind", c.text, c.needle, c.offset), c.rfind);
  }
}

TEST(ScriptString, ValueTexts) {
  EXPECT_EQ(ScriptValueText(0.5), "0.5");
  EXPECT_EQ(ScriptValueText(1e20), "1e+20");
  EXPECT_EQ(ScriptValueText(-5), "-5");
  EXPECT_EQ(ScriptValueText(0xFFFFFFFFu), "4294967295");
}

// A string the host cannot allocate ends the script with an exception; no host exception
// gets past the engine.
TEST(ScriptString, ImpossibleResizeEndsTheScriptOnly) {
  if (sizeof(void*) == 8) GTEST_SKIP() << "a 64-bit process can allocate every size a script names";
  ScriptFixture script;
  EXPECT_EQ(script.Run(R"(string s = "a"; s.resize(0xFFFFFFFF, 0); print("not reached");)"),
            asEXECUTION_EXCEPTION);
  EXPECT_EQ(script.Output(), "");
  EXPECT_FALSE(script.Exception().empty());
  EXPECT_EQ(script.Run(R"(print("after");)"), asEXECUTION_FINISHED);
  EXPECT_EQ(script.Output(), "after");
}

}  // namespace
