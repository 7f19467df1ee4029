// The calling conventions the program binds script functions with, on this compiler: cdecl
// globals (with strings by value, by reference and returned), thiscall methods and stdcall
// functions such as the platform's Sleep.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "tests/runtime/script/script_fixture.h"

namespace {

double Mix(int a, std::uint8_t b, double c, std::int64_t d, const std::string& e, std::string f,
           bool g) {
  return a + b + c + static_cast<double>(d) + static_cast<double>(e.size() * 100 + f.size()) +
         (g ? 0.5 : 0);
}
std::string Join(const std::string& a, int n, double x) {
  return a + "/" + std::to_string(n) + "/" + std::to_string(static_cast<int>(x * 10));
}
void Split(const std::string& in, std::string& head, int& rest) {
  head = in.substr(0, 1);
  rest = static_cast<int>(in.size()) - 1;
}

int __stdcall Weigh(int a, double b, std::uint8_t c, const std::string& d) {
  return a * 1000 + static_cast<int>(b * 10) * 10 + c + static_cast<int>(d.size()) * 100000;
}

class Counter {
 public:
  void Add(int v) { total_ += v; }
  int Total() const { return total_; }
  double Scale(double f, int d) const { return total_ * f / d; }
  std::string Name(const std::string& prefix) const { return prefix + std::to_string(total_); }

 private:
  int total_ = 0;
};

TEST(NativeCall, CdeclGlobals) {
  ScriptFixture script;
  ScriptRegistrar& reg = script.Registrar();
  reg.GlobalFunction("double Mix(int, uint8, double, int64, const string &in, string, bool)",
                     asFUNCTION(Mix), asCALL_CDECL);
  reg.GlobalFunction("string Join(const string &in, int, double)", asFUNCTION(Join),
                     asCALL_CDECL);
  reg.GlobalFunction("void Split(const string &in, string &out, int &out)", asFUNCTION(Split),
                     asCALL_CDECL);
  ASSERT_TRUE(reg.Ok()) << reg.FailureText();
  ASSERT_EQ(script.Run(R"(
      print(int(Mix(1, 2, 0.25, 10, "abc", "de", true) * 4));
      print(Mix(1, 2, 0.25, 5000000000, "abc", "de", false) == 5000000305.25);
      print(Join("k", -3, 1.5));
      string h; int r; Split("Qpad", h, r); print(h); print(r);
      for (int i = 0; i < 5000; i++) Join("x", i, 0);)"),
            asEXECUTION_FINISHED)
      << script.Messages() << script.Exception();
  EXPECT_EQ(script.Output(), "1263|true|k/-3/15|Q|3");
}

TEST(NativeCall, ThiscallMethods) {
  ScriptFixture script;
  ScriptRegistrar& reg = script.Registrar();
  Counter counter;
  reg.ObjectType("Counter", 0, asOBJ_REF | asOBJ_NOCOUNT);
  reg.ObjectMethod("Counter", "void Add(int)", asMETHOD(Counter, Add), asCALL_THISCALL);
  reg.ObjectMethod("Counter", "int Total() const", asMETHOD(Counter, Total), asCALL_THISCALL);
  reg.ObjectMethod("Counter", "double Scale(double, int) const", asMETHOD(Counter, Scale),
                   asCALL_THISCALL);
  reg.ObjectMethod("Counter", "string Name(const string &in) const", asMETHOD(Counter, Name),
                   asCALL_THISCALL);
  reg.Check(script.Engine()->RegisterGlobalProperty("Counter counter", &counter),
            "RegisterGlobalProperty", "Counter counter");
  ASSERT_TRUE(reg.Ok()) << reg.FailureText();
  ASSERT_EQ(script.Run(R"(
      for (int i = 1; i <= 100; i++) counter.Add(i);
      print(counter.Total()); print(int(counter.Scale(3.0, 2))); print(counter.Name("n"));)"),
            asEXECUTION_FINISHED)
      << script.Messages() << script.Exception();
  EXPECT_EQ(script.Output(), "5050|7575|n5050");
  EXPECT_EQ(counter.Total(), 5050);
}

// A stdcall callee pops its own arguments: thousands of calls show a balanced stack.
TEST(NativeCall, StdcallFunctions) {
  ScriptFixture script;
  ScriptRegistrar& reg = script.Registrar();
  reg.GlobalFunction("void sleep(uint ms)", asFUNCTION(Sleep), asCALL_STDCALL);
  reg.GlobalFunction("uint GetTickCount()", asFUNCTION(GetTickCount), asCALL_STDCALL);
  reg.GlobalFunction("int Weigh(int, double, uint8, const string &in)", asFUNCTION(Weigh),
                     asCALL_STDCALL);
  ASSERT_TRUE(reg.Ok()) << reg.FailureText();
  ASSERT_EQ(script.Run(R"(
      int w = 0;
      for (int i = 0; i < 10000; i++) w = Weigh(3, 0.5, 7, "ab");
      print(w);
      for (int i = 0; i < 200; i++) sleep(0);
      uint start = GetTickCount(); sleep(50); print(GetTickCount() - start >= 30);)"),
            asEXECUTION_FINISHED)
      << script.Messages() << script.Exception();
  EXPECT_EQ(script.Output(), "203057|true");
}

}  // namespace
