// The byte and integer arrays through the real engine: each behaviour and method of the
// registration table, bounds and growth, and the layout shared with host code.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/script/script_array.h"
#include "tests/runtime/script/script_fixture.h"

namespace {

struct ScriptCase {
  const char* row;
  const char* body;
  const char* printed;
  const char* globals = "";
};

const ScriptCase kArrayRows[] = {
    {"construct: empty", "uint8[] a; print(a.size()); a.pop_back(); print(a.size());", "0|0"},
    {"construct: count of zeros",
     "int[] a(3); print(a.size()); print(a[0]); print(a[1]); print(a[2]);", "3|0|0|0"},
    {"construct: negative count is empty", "int8[] a(-3); print(a.size());", "0"},
    {"construct: copy",
     R"(int[] a(2); a[0] = 7; a[1] = 8; int[] b(a); b[0] = 1;
        print(a[0]); print(b[0]); print(b[1]); int[] c = a; c[1] = 9; print(a[1]); print(c[1]);)",
     "7|1|8|8|9"},
    {"destruct: many temporaries",
     R"(int total = 0;
        for (int i = 0; i < 2000; i++) { int[] t(100); t[99] = 1; total += t[99]; }
        print(total);)",
     "2000"},
    {"index: read, write, last element",
     R"(int[] a(3); a[0] = 5; a[2] = -7; print(a[0]); print(a[2]); a[2] += 1;
        print(a[a.size() - 1]);)",
     "5|-7|-6"},
    {"index: read-only", "uint8[] b(2); b[1] = 9; print(Last(b)); const int[] c(4); print(c[3]);",
     "9|0", "uint8 Last(const uint8[] &in a) { return a[a.size() - 1]; }"},
    {"assignment replaces and returns the array",
     R"(int[] a(2); a[1] = 4; int[] b(5); int[] c; c = b = a;
        print(b.size()); print(c.size()); print(c[1]); a[1] = 0; print(b[1]);)",
     "2|2|4|4"},
    {"size", "int8[] a(7); print(a.size()); int[] e; print(e.size());", "7|0"},
    {"resize keeps and adds zeros",
     R"(int[] a(3); a[0] = 1; a[1] = 2; a[2] = 3; a.resize(5);
        print(a.size()); print(a[2]); print(a[3]); print(a[4]);
        a.resize(1); print(a.size()); print(a[0]); a.resize(-1); print(a.size());)",
     "5|3|0|0|1|1|0"},
    {"push_back grows",
     R"(int[] a; for (int i = 0; i < 1000; i++) a.push_back(i);
        int sum = 0; for (int i = 0; i < a.size(); i++) sum += a[i];
        print(a.size()); print(sum); print(a[999]);)",
     "1000|499500|999"},
    {"push_back copies the value", "int v = 3; int[] a; a.push_back(v); v = 4; print(a[0]);",
     "3"},
    {"pop_back",
     R"(int[] a(2); a[0] = 1; a[1] = 2; a.pop_back(); print(a.size()); print(a[0]);
        a.pop_back(); a.pop_back(); print(a.size()); a.push_back(6); print(a[0]);)",
     "1|1|0|6"},
    {"uint8 elements are unsigned bytes",
     R"(uint8[] a(1); a[0] = 255; print(a[0]); a[0] += 1; print(a[0]);
        uint8 v = 200; a.push_back(v); print(a[1]);)",
     "255|0|200"},
    {"int8 elements are signed bytes",
     "int8[] a(1); a[0] = -1; print(a[0]); a[0] = 127; a[0] += 1; print(a[0]);", "-1|-128"},
    {"int elements hold 32 bits",
     "int[] a(2); a[0] = -2147483647 - 1; a[1] = 2147483647; print(a[0]); print(a[1]);",
     "-2147483648|2147483647"},
    {"other element types use the default array",
     R"(uint[] u = {1, 2, 3}; print(u.length()); string[] s = {"a", "b"}; print(s[1]);
        array<float> f(2); print(f.length());)",
     "3|b|2"},
    {"array<int> is int[]", "array<int> a(2); int[] b = a; print(b.size());", "2"},
};

TEST(ScriptArray, EveryRowOfTheTable) {
  ScriptFixture script;
  ASSERT_TRUE(script.Registrar().Ok()) << script.Registrar().FailureText();
  for (const ScriptCase& c : kArrayRows) {
    SCOPED_TRACE(c.row);
    ASSERT_EQ(script.Run(c.body, c.globals), asEXECUTION_FINISHED)
        << script.Messages() << script.Exception();
    EXPECT_EQ(script.Output(), c.printed);
  }
}

// An index outside 0..size-1 stops the script function with the array exception; what ran
// before it stays done.
TEST(ScriptArray, IndexOutsideTheArrayRaisesTheException) {
  const ScriptCase rows[] = {
      {"index -1", "int[] a(3); print(1); print(a[-1]); print(2);", "1"},
      {"index size", "int[] a(3); print(1); print(a[3]); print(2);", "1"},
      {"write past the end", "uint8[] a(2); print(1); a[2] = 1; print(2);", "1"},
      {"empty array", "int8[] a; print(1); a[0] = 1; print(2);", "1"},
      {"after pop_back", "int[] a(1); a.pop_back(); print(1); print(a[0]);", "1"},
      {"read-only", "uint8[] a(2); print(1); print(At(a, 2)); print(2);", "1",
       "uint8 At(const uint8[] &in a, int i) { return a[i]; }"},
  };
  ScriptFixture script;
  for (const ScriptCase& c : rows) {
    SCOPED_TRACE(c.row);
    ASSERT_EQ(script.Run(c.body, c.globals), asEXECUTION_EXCEPTION) << script.Messages();
    EXPECT_EQ(script.Exception(), "Array Index Out of Bounds.");
    EXPECT_EQ(script.Output(), c.printed);
  }
}

// A count is no array: the sized constructor is used only when written out.
TEST(ScriptArray, CountDoesNotConvertToAnArray) {
  ScriptFixture script;
  EXPECT_LT(script.Build("int[] a = 3;"), 0);
  EXPECT_LT(script.Build("Take(5);", "void Take(const int[] &in a) {}"), 0);
  EXPECT_EQ(script.Build("Take(int[](5));", "void Take(const int[] &in a) {}"), 0)
      << script.Messages();
}

void PassAVector(std::vector<int>& v) {
  for (int& x : v) ++x;
}
int FillBytes(const std::string& name, std::vector<std::uint8_t>& data, unsigned len,
              unsigned /*timeout*/) {
  data.assign(len, static_cast<std::uint8_t>(name.size()));
  if (len) data[0] = 0xFE;
  return static_cast<int>(data.size());
}
std::vector<int> Countdown(int n) {
  std::vector<int> v;
  for (int i = n; i > 0; --i) v.push_back(i);
  return v;
}

// The host's std::vector is the script's array: registered functions change it in place,
// return it by value, and the host passes and receives it.
TEST(ScriptArray, SharesItsLayoutWithHostCode) {
  ScriptFixture script;
  ScriptRegistrar& reg = script.Registrar();
  reg.GlobalFunction("void PassAVector(int[] &inout)", asFUNCTION(PassAVector), asCALL_CDECL);
  reg.GlobalFunction("int RetrieveData(string &in,uint8[] &inout,uint DataLen,uint timeout)",
                     asFUNCTION(FillBytes), asCALL_CDECL);
  reg.GlobalFunction("int[] Countdown(int)", asFUNCTION(Countdown), asCALL_CDECL);
  ASSERT_TRUE(reg.Ok()) << reg.FailureText();

  ASSERT_EQ(script.Run(R"(
      int[] v(2); v[0] = 1; v[1] = 2; PassAVector(v); print(v[0]); print(v[1]);
      uint8[] d; print(RetrieveData("abc", d, 4, 100)); print(d[0]); print(d[3]);
      int[] c = Countdown(3); print(c.size()); print(c[0]); print(c[2]);)"),
            asEXECUTION_FINISHED)
      << script.Messages() << script.Exception();
  EXPECT_EQ(script.Output(), "2|3|4|254|3|3|3|1");

  ASSERT_EQ(script.Build("", R"(
      int Sum(const int[] &in v) { int s = 0; for (int i = 0; i < v.size(); i++) s += v[i];
                                   return s; }
      int8[] Signs() { int8[] s(2); s[0] = -1; s[1] = 1; return s; })"),
            0)
      << script.Messages();
  asIScriptModule* mod = script.Engine()->GetModule("test");
  std::vector<int> values = {5, -2, 40};
  ASSERT_GE(script.Prepare(mod->GetFunctionByName("Sum")), 0);
  script.Context()->SetArgAddress(0, &values);
  ASSERT_EQ(script.Context()->Execute(), asEXECUTION_FINISHED);
  EXPECT_EQ(script.Context()->GetReturnDWord(), 43u);
  ASSERT_GE(script.Prepare(mod->GetFunctionByName("Signs")), 0);
  ASSERT_EQ(script.Context()->Execute(), asEXECUTION_FINISHED);
  auto* signs = static_cast<std::vector<std::int8_t>*>(script.Context()->GetReturnObject());
  ASSERT_NE(signs, nullptr);
  EXPECT_EQ(*signs, (std::vector<std::int8_t>{-1, 1}));
}

// A size the host cannot allocate ends the script; no host exception gets past the engine.
TEST(ScriptArray, ImpossibleSizeEndsTheScriptOnly) {
  if (sizeof(void*) == 8) GTEST_SKIP() << "a 64-bit process can allocate every size a script names";
  ScriptFixture script;
  EXPECT_EQ(script.Run("int[] a; a.resize(2147483647); print(1);"), asEXECUTION_EXCEPTION);
  EXPECT_EQ(script.Output(), "");
  EXPECT_EQ(script.Run("print(2);"), asEXECUTION_FINISHED);
  EXPECT_EQ(script.Output(), "2");
}

}  // namespace
