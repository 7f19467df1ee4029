// The seam over the platform calls: replacements nest and undo themselves, and the registry
// calls and the typed helpers over them keep values in the forms other programs read.
#include "platform/base/system_calls.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "platform/base/registry_values.h"
#include "tests/platform/base/system_calls_recorder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A registry in memory: writes land in the map, reads come from it.
class MemoryRegistry : public SystemCalls {
 public:
  std::optional<RegistryValue> ReadMachineValue(const std::string& key,
                                                const std::string& name) override {
    const auto it = values.find({key, name});
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  bool WriteMachineValue(const std::string& key, const std::string& name,
                         const RegistryValue& value) override {
    values[{key, name}] = value;
    return true;
  }
  RegistryValue& At(const std::string& key, const std::string& name) { return values[{key, name}]; }
  std::map<std::pair<std::string, std::string>, RegistryValue> values;
};

TEST(SystemCalls, ReplacementsNestAndPutTheEarlierCallsBack) {
  SystemCalls& platform = GetSystemCalls();
  {
    MemoryRegistry outer;
    ScopedSystemCalls outerScope(outer);
    EXPECT_EQ(&GetSystemCalls(), &outer);
    {
      RecordedSystemCalls recorder;
      EXPECT_EQ(&GetSystemCalls(), &recorder);
      GetSystemCalls().Sleep(5);
      GetSystemCalls().InjectInput(KeyboardRecord(0x41, 30, kKeyEventKeyUp));
      EXPECT_EQ(recorder.Events(), "sleep 5 / key 0x41 30 0x2");
    }
    EXPECT_EQ(&GetSystemCalls(), &outer);
  }
  EXPECT_EQ(&GetSystemCalls(), &platform);
}

TEST(SystemCalls, RecorderGivesLockStatesFromItsKeyStates) {
  RecordedSystemCalls recorder;
  EXPECT_FALSE(GetSystemCalls().ReadLockStates().capsLock);
  recorder.SetKeyState(VK_CAPITAL, 1);
  recorder.SetKeyState(VK_NUMLOCK, static_cast<short>(0xFF81));  // toggled but held
  const LockStates states = GetSystemCalls().ReadLockStates();
  EXPECT_TRUE(states.capsLock);
  EXPECT_FALSE(states.numLock);
}

TEST(RegistryValues, DwordsAreFourLittleEndianBytes) {
  MemoryRegistry registry;
  ScopedSystemCalls scope(registry);
  ASSERT_TRUE(WriteMachineDword("k", "v", 0x12345678));
  const RegistryValue stored{kRegistryDword, Bytes{0x78, 0x56, 0x34, 0x12}};
  EXPECT_EQ(registry.At("k", "v"), stored);
  EXPECT_EQ(ReadMachineDword("k", "v"), 0x12345678u);
  // Another size is no dword, whatever its type says.
  registry.At("k", "short") = {kRegistryDword, Bytes{1, 2}};
  registry.At("k", "long") = {kRegistryBinary, Bytes(8, 1)};
  EXPECT_EQ(ReadMachineDword("k", "short"), std::nullopt);
  EXPECT_EQ(ReadMachineDword("k", "long"), std::nullopt);
  EXPECT_EQ(ReadMachineDword("k", "missing"), std::nullopt);
  EXPECT_EQ(ReadMachineDword("other", "v"), std::nullopt);
}

// The platform's registry: what is written comes back with its type and every byte.
class MachineRegistry : public ::testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, key_.c_str()); }
  // Apart per process, so parallel runs keep apart.
  const std::string key_ = std::string(kOrvaneRegistryKey) + "\\Seam Test " +
                           std::to_string(GetCurrentProcessId());
};

TEST_F(MachineRegistry, ValuesComeBackAsWritten) {
  SystemCalls& calls = GetSystemCalls();
  EXPECT_EQ(calls.ReadMachineValue(key_, "text"), std::nullopt);  // no key yet
  const struct {
    const char* name;
    RegistryValue value;
  } cases[] = {
      {"text", {kRegistryText, Bytes{'Q', 'p', 'a', 'd', 0}}},
      {"number", {kRegistryDword, Bytes{9, 0, 0, 0}}},
      {"empty", {kRegistryBinary, Bytes{}}},
      {"large", {kRegistryBinary, Bytes(5000, 0xA5)}},
      {"", {kRegistryBinary, Bytes{1}}},  // the key's default value
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(calls.WriteMachineValue(key_, c.name, c.value));
    EXPECT_EQ(calls.ReadMachineValue(key_, c.name), c.value);
  }
  EXPECT_EQ(calls.ReadMachineValue(key_, "missing"), std::nullopt);
  EXPECT_TRUE(calls.CreateMachineKey(key_ + "\\deeper"));
  EXPECT_EQ(calls.ReadMachineValue(key_ + "\\deeper", ""), std::nullopt);
  // The typed helpers reach the same values.
  EXPECT_EQ(ReadMachineDword(key_, "number"), 9u);
  EXPECT_EQ(ReadMachineDword(key_, "text"), std::nullopt);
}

}  // namespace

namespace {

TEST(KeyboardHook, OneHookPerThreadAndItsRemovalFreesThePlace) {
  SystemCalls& calls = GetSystemCalls();
  void* hook = calls.SetKeyboardHook([](const KeyboardHookEvent&) { return false; });
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(calls.SetKeyboardHook([](const KeyboardHookEvent&) { return false; }), nullptr)
      << "a second hook on the thread";
  std::string error;
  EXPECT_TRUE(calls.RemoveKeyboardHook(hook, &error));
  EXPECT_EQ(error, "");
  // Removed twice: the platform says why it refuses.
  EXPECT_FALSE(calls.RemoveKeyboardHook(hook, &error));
  EXPECT_NE(error, "");
  hook = calls.SetKeyboardHook([](const KeyboardHookEvent&) { return true; });
  ASSERT_NE(hook, nullptr);
  EXPECT_TRUE(calls.RemoveKeyboardHook(hook, nullptr));
}

}  // namespace
