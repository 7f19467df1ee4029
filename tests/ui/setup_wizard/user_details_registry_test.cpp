// The user's details as the machine keeps them: three REG_SZ values of 512 bytes under the
// program's key, and what is read back from values of any size or type.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/registry_values.h"
#include "platform/base/system_calls.h"
#include "ui/setup_wizard/user_details_registry.h"

namespace {

// A registry of the machine in memory; it can be told to refuse writes.
class MemoryRegistry : public SystemCalls {
 public:
  std::map<std::pair<std::string, std::string>, RegistryValue> values;
  bool refuseWrites = false;

  std::optional<RegistryValue> ReadMachineValue(const std::string& key, const std::string& name) override {
    auto it = values.find({key, name});
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  bool WriteMachineValue(const std::string& key, const std::string& name, const RegistryValue& value) override {
    if (refuseWrites) return false;
    values[{key, name}] = value;
    return true;
  }
};

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(UserDetailsRegistry, WritesThreeZeroPaddedValuesOf512Bytes) {
  MemoryRegistry registry;
  ASSERT_TRUE(WriteUserDetails(registry, {L"Jo", L"1 Main St\r\nTown", L"jo@example.com"}));
  ASSERT_EQ(registry.values.size(), 3u);
  const std::pair<const char*, std::string> expected[] = {
      {"User Name", "Jo"}, {"User Address", "1 Main St\r\nTown"}, {"User Email", "jo@example.com"}};
  for (const auto& [name, text] : expected) {
    SCOPED_TRACE(name);
    const RegistryValue& v = registry.values[{"SOFTWARE\\Kestrion\\Orvane II", name}];
    EXPECT_EQ(v.type, kRegistryText);
    std::vector<std::uint8_t> bytes = Bytes(text);
    bytes.resize(512, 0);
    EXPECT_EQ(v.bytes, bytes);
  }
  EXPECT_EQ(ReadUserDetails(registry), (UserDetails{L"Jo", L"1 Main St\r\nTown", L"jo@example.com"}));
}

TEST(UserDetailsRegistry, TextsAreCutToWhatTheValueHolds) {
  MemoryRegistry registry;
  const std::wstring longText(600, L'x');
  ASSERT_TRUE(WriteUserDetails(registry, {longText, L"", L""}));
  const std::vector<std::uint8_t>& bytes = registry.values[{kOrvaneRegistryKey, "User Name"}].bytes;
  ASSERT_EQ(bytes.size(), 512u);
  EXPECT_EQ(bytes[510], 'x');
  EXPECT_EQ(bytes[511], 0);
  EXPECT_EQ(ReadUserDetails(registry).name, std::wstring(511, L'x'));
}

TEST(UserDetailsRegistry, ReadsWhatOthersWrote) {
  MemoryRegistry registry;
  auto put = [&](const char* name, std::uint32_t type, std::vector<std::uint8_t> bytes) {
    registry.values[{kOrvaneRegistryKey, name}] = {type, std::move(bytes)};
  };
  // 512 bytes without a terminator: all of them; more: no more than 512.
  put("User Name", kRegistryText, std::vector<std::uint8_t>(700, 'n'));
  // A short value, and text after its terminator.
  put("User Address", kRegistryText, Bytes(std::string("a\0b", 3)));
  // Not a text.
  put("User Email", kRegistryDword, {1, 0, 0, 0});
  EXPECT_EQ(ReadUserDetails(registry), (UserDetails{std::wstring(512, L'n'), L"a", L""}));
}

TEST(UserDetailsRegistry, MissingValuesAndRefusedWrites) {
  MemoryRegistry registry;
  EXPECT_EQ(ReadUserDetails(registry), UserDetails{});
  registry.refuseWrites = true;
  EXPECT_FALSE(WriteUserDetails(registry, {L"Jo", L"", L""}));
  EXPECT_TRUE(registry.values.empty());
}

TEST(UserDetailsRegistry, CharactersOfTheCodePageComeBackAsTyped) {
  MemoryRegistry registry;
  const UserDetails details{L"Zo\u00eb M\u00fcller", L"Stra\u00dfe 5", L"\u00e9@x"};
  ASSERT_TRUE(WriteUserDetails(registry, details));
  EXPECT_EQ(ReadUserDetails(registry), details);
}

}  // namespace
