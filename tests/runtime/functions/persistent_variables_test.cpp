// Persistent script variables, written and read by scripts and checked in the 32-bit view of
// the machine's registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/base/system_calls.h"
#include "runtime/functions/persistent_variables.h"
#include "runtime/functions/script_platform.h"
#include "runtime/functions/system_script_functions.h"
#include "tests/runtime/script/script_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The registry view the program's own process writes to: the 32-bit one for the program; the
// 64-bit test build has its own.
constexpr REGSAM kProgramView = sizeof(void*) == 4 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

struct StoredValue {
  bool found = false;
  DWORD type = 0;
  Bytes bytes;
};

StoredValue ReadStored(const std::string& key, const std::string& name) {
  StoredValue v;
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | kProgramView, &k) !=
      ERROR_SUCCESS)
    return v;
  BYTE buffer[1024];
  DWORD size = sizeof buffer;
  if (RegQueryValueExA(k, name.c_str(), nullptr, &v.type, buffer, &size) == ERROR_SUCCESS) {
    v.found = true;
    v.bytes.assign(buffer, buffer + size);
  }
  RegCloseKey(k);
  return v;
}

void Store(const std::string& key, const std::string& name, DWORD type, const Bytes& bytes) {
  HKEY k;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS | kProgramView, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(k, name.c_str(), 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
  RegCloseKey(k);
}

template <class T>
Bytes BytesOf(const T& value) {
  Bytes b(sizeof value);
  std::memcpy(b.data(), &value, sizeof value);
  return b;
}

class PersistentVariables : public ::testing::Test {
 protected:
  void SetUp() override {
    ScriptRegistrar& reg = script_.Registrar();
    ASSERT_EQ(RegisterScriptFunctions(reg, {platform_}), 0) << reg.FailureText();
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(kMacroVariablesKey) + "\\" + section_).c_str());
    HKEY root;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMacroVariablesKey, 0, KEY_ALL_ACCESS, &root) ==
        ERROR_SUCCESS) {
      RegDeleteValueA(root, rootName_.c_str());
      RegCloseKey(root);
    }
  }
  // Runs the body in a script; what it prints comes back joined by "|".
  std::string Run(const std::string& body) {
    const std::string globals = "const string S = \"" + section_ + "\";\nconst string N = \"" +
                                rootName_ + "\";\n";
    EXPECT_EQ(script_.Run(body, globals), asEXECUTION_FINISHED) << script_.Messages();
    return script_.Output();
  }
  std::string Key() const { return std::string(kMacroVariablesKey) + "\\" + section_; }

  SystemCalls platform_;  // the registry is the platform's own
  // Apart per process, so parallel runs keep apart.
  const std::string section_ = "Test Section " + std::to_string(GetCurrentProcessId());
  const std::string rootName_ = "test value " + std::to_string(GetCurrentProcessId());
  ScriptFixture script_;
};

TEST_F(PersistentVariables, ValuesAreStoredInTheirRegistryForms) {
  EXPECT_EQ(Run(R"(print(SetPersistentInt(S, "count", -5));
                   print(SetPersistentDouble(S, "ratio", 2.5));
                   print(SetPersistentString(S, "name", "Qpad"));
                   print(SetPersistentInt(S, "", 9));)"),
            "true|true|true|true");
  const StoredValue count = ReadStored(Key(), "count");
  EXPECT_EQ(count.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(count.bytes, (Bytes{0xFB, 0xFF, 0xFF, 0xFF}));
  const StoredValue ratio = ReadStored(Key(), "ratio");
  EXPECT_EQ(ratio.type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(ratio.bytes, BytesOf(2.5));
  const StoredValue name = ReadStored(Key(), "name");
  EXPECT_EQ(name.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(name.bytes, (Bytes{'Q', 'p', 'a', 'd', 0}));
  EXPECT_EQ(ReadStored(Key(), "").bytes, (Bytes{9, 0, 0, 0}));  // the key's default value

  EXPECT_EQ(Run(R"(int i = 0; double d = 0; string s;
                   print(GetPersistentInt(S, "count", i)); print(i);
                   print(GetPersistentDouble(S, "ratio", d)); print(d == 2.5);
                   print(GetPersistentString(S, "name", s)); print(s);)"),
            "true|-5|true|true|true|Qpad");
}

TEST_F(PersistentVariables, SectionsNameSubkeysOfTheRoot) {
  EXPECT_EQ(Run(R"(print(SetPersistentInt("", N, 1)); print(SetPersistentInt(S + "\\deeper", "x", 2));
                   int i; GetPersistentInt("", N, i); print(i);)"),
            "true|true|1");
  EXPECT_EQ(ReadStored(kMacroVariablesKey, rootName_).bytes, (Bytes{1, 0, 0, 0}));
  EXPECT_EQ(ReadStored(Key() + "\\deeper", "x").bytes, (Bytes{2, 0, 0, 0}));
}

TEST_F(PersistentVariables, FailedReadsGiveFalseAndAnEmptyValue) {
  Store(Key(), "wide", REG_BINARY, Bytes(8, 0x11));
  Store(Key(), "short", REG_BINARY, Bytes{0x34, 0x12});
  Store(Key(), "number", REG_DWORD, Bytes{'a', 'b', 'c', 0});
  Store(Key(), "unterminated", REG_BINARY, Bytes{'x', 'y'});
  Bytes fits(259, 'a');
  fits.push_back(0);
  Store(Key(), "fits", REG_SZ, fits);
  Bytes tooLong(260, 'a');
  tooLong.push_back(0);
  Store(Key(), "tooLong", REG_SZ, tooLong);
  struct Case {
    const char* body;
    const char* printed;
  } cases[] = {
      // Missing key, missing value, and a value larger than the buffer.
      {R"(int i = 3; print(GetPersistentInt(S + "\\none", "v", i)); print(i);)", "false|0"},
      {R"(int i = 3; print(GetPersistentInt(S, "none", i)); print(i);)", "false|0"},
      {R"(int i = 3; print(GetPersistentInt(S, "wide", i)); print(i);)", "false|0"},
      {R"(double d = 3; print(GetPersistentDouble(S, "none", d)); print(d == 0);)", "false|true"},
      {R"(string s = "old"; print(GetPersistentString(S, "none", s)); print(s);)", "false|"},
      {R"(string s = "old"; print(GetPersistentString(S, "tooLong", s)); print(s);)", "false|"},
      {R"(string s; print(GetPersistentString(S, "fits", s)); print(s.length());)", "true|259"},
      // The type is not checked; a short value reads into zeroed bytes.
      {R"(int i = -1; print(GetPersistentInt(S, "short", i)); print(i);)", "true|4660"},
      {R"(string s; print(GetPersistentString(S, "number", s)); print(s);)", "true|abc"},
      {R"(string s; print(GetPersistentString(S, "unterminated", s)); print(s);)", "true|xy"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    EXPECT_EQ(Run(c.body), c.printed);
  }
}

}  // namespace
