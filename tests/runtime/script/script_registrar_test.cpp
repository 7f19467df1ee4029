// Registration rules: the whole type set registers on fresh engines without one refusal, and
// a refusal is recorded with what was refused.

#include <gtest/gtest.h>

#include <string>

#include "runtime/script/script_registrar.h"
#include "runtime/script/script_types.h"
#include "tests/runtime/script/script_fixture.h"

namespace {

void Nothing() {}
int Seven() { return 7; }

// Script functions come after the types on every new engine; each engine starts clean.
TEST(ScriptRegistrar, FullSetRegistersOnEveryFreshEngine) {
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    ScriptFixture script;  // RegisterScriptTypes, then the print functions
    ASSERT_TRUE(script.Registrar().Ok()) << script.Registrar().FailureText();
    EXPECT_EQ(script.Registrar().Result(), 0);
    EXPECT_EQ(script.Errors(), "");
    asIScriptEngine* engine = script.Engine();
    for (const char* decl : {"string", "uint8[]", "int8[]", "int[]", "bits", "bits8", "bits16",
                             "uint[]", "string[]"}) {
      EXPECT_GE(engine->GetTypeIdByDecl(decl), 0) << decl;
    }
    EXPECT_EQ(engine->GetTypeIdByDecl("bits8"), engine->GetTypeIdByDecl("uint8"));
    EXPECT_NE(engine->GetTypeInfoByDecl("int[]")->GetFlags() & asOBJ_VALUE, 0u);
    EXPECT_NE(engine->GetTypeInfoByDecl("uint[]")->GetFlags() & asOBJ_REF, 0u);
    // Declarations the device functions use register once the types are in.
    ScriptRegistrar& reg = script.Registrar();
    reg.GlobalFunction("void PassAVector(int[] &inout)", asFUNCTION(Nothing), asCALL_CDECL);
    reg.GlobalFunction("int RetrieveData(string &in,uint8[] &inout,uint DataLen,uint timeout)",
                       asFUNCTION(Nothing), asCALL_CDECL);
    reg.GlobalFunction("void GetText(string &out)", asFUNCTION(Nothing), asCALL_CDECL);
    EXPECT_TRUE(reg.Ok()) << reg.FailureText();
    ASSERT_EQ(script.Run(R"(string s = "x"; int[] a(1); uint8[] b; int8[] c; bits8 l = 0x40;
                            print(s + a.size() + b.size() + c.size() + l);)"),
              asEXECUTION_FINISHED)
        << script.Messages();
    EXPECT_EQ(script.Output(), "x10064");
  }
}

// One refused registration spoils every build of the engine, so it must be visible.
TEST(ScriptRegistrar, RecordsEveryRefusal) {
  ScriptFixture script;
  ScriptRegistrar& reg = script.Registrar();
  ASSERT_TRUE(reg.Ok());
  EXPECT_GE(reg.GlobalFunction("int Seven()", asFUNCTION(Seven), asCALL_CDECL), 0);
  EXPECT_EQ(reg.GlobalFunction("int Seven()", asFUNCTION(Seven), asCALL_CDECL),
            asALREADY_REGISTERED);
  EXPECT_EQ(reg.ObjectMethod("nosuchtype", "void f()", asFUNCTION(Nothing), asCALL_CDECL_OBJLAST),
            asINVALID_TYPE);
  EXPECT_EQ(reg.Check(asERROR, "Custom", "thing"), asERROR);
  EXPECT_EQ(reg.Check(12, "Custom", "id"), 12);

  EXPECT_FALSE(reg.Ok());
  EXPECT_EQ(reg.Result(), asALREADY_REGISTERED);
  ASSERT_EQ(reg.Failures().size(), 3u);
  EXPECT_EQ(reg.Failures()[0].call, "RegisterGlobalFunction");
  EXPECT_EQ(reg.Failures()[0].subject, "int Seven()");
  EXPECT_EQ(reg.Failures()[1].subject, "nosuchtype void f()");
  EXPECT_EQ(reg.FailureText(),
            "RegisterGlobalFunction 'int Seven()': -13\n"
            "RegisterObjectMethod 'nosuchtype void f()': -12\n"
            "Custom 'thing': -1\n");
  EXPECT_EQ(script.Build("print(1);"), asINVALID_CONFIGURATION);
}

// Declarations from data files may name a function an earlier device registered already.
TEST(ScriptRegistrar, IfAbsentKeepsAnExistingFunction) {
  ScriptFixture script;
  ScriptRegistrar& reg = script.Registrar();
  const int id = reg.GlobalFunctionIfAbsent("int Seven()", asFUNCTION(Seven), asCALL_CDECL);
  ASSERT_GE(id, 0);
  EXPECT_EQ(reg.GlobalFunctionIfAbsent("int Seven()", asFUNCTION(Nothing), asCALL_CDECL), id);
  EXPECT_TRUE(reg.Ok()) << reg.FailureText();
  ASSERT_EQ(script.Run("print(Seven());"), asEXECUTION_FINISHED) << script.Messages();
  EXPECT_EQ(script.Output(), "7");
}

// Without the unsafe-reference setting `&inout` on a value type is refused; the type set
// turns it on before anything names such a parameter.
TEST(ScriptRegistrar, InoutValueParametersNeedTheTypeSetSettings) {
  asIScriptEngine* bare = asCreateScriptEngine();
  ScriptRegistrar reg(bare);
  reg.ObjectType("plain", 4, asOBJ_VALUE | asOBJ_POD | asOBJ_APP_PRIMITIVE);
  EXPECT_TRUE(reg.Ok());
  EXPECT_LT(reg.GlobalFunction("void f(plain &inout)", asFUNCTION(Nothing), asCALL_CDECL), 0);
  bare->ShutDownAndRelease();
  EXPECT_FALSE(reg.Ok());
}

}  // namespace
