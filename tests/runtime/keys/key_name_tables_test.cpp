// The key-name tables: sizes, rows of every kind, the four name sets, the usage table, and
// filling and emptying.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "runtime/keys/key_name_tables.h"

namespace {

class KeyNameTables : public ::testing::Test {
 protected:
  void SetUp() override { InitKeyNameTables(); }
  void TearDown() override { ClearKeyNameTables(); }
};

std::set<std::string> Names(const KeyNameSet& set) { return {set.begin(), set.end()}; }

TEST_F(KeyNameTables, SizesOfEveryTable) {
  EXPECT_EQ(ScanCodeTable().size(), 236u);
  EXPECT_EQ(VirtualKeyTable().size(), 237u);
  EXPECT_EQ(VkOnlyKeyNames().size(), 38u);
  EXPECT_EQ(ExtendedKeyNames().size(), 22u);
  EXPECT_EQ(NumPadKeyNames().size(), 12u);
  EXPECT_EQ(NavigationKeyNames().size(), 11u);
  // The virtual-key table holds the scan-code table's names and "Esc".
  for (const auto& [name, scan] : ScanCodeTable())
    EXPECT_TRUE(VirtualKeyTable().contains(name)) << name;
  EXPECT_TRUE(VirtualKeyTable().contains("Esc"));
  EXPECT_FALSE(HasScanCode("Esc"));
}

TEST_F(KeyNameTables, RowsOfEveryKind) {
  struct Row {
    const char* name;
    int scan;
    int vk;
  };
  const Row rows[] = {
      {"<Tab>", 15, 0x09},        {"\t", 15, 0x09},           {"<Return>", 28, 0x0D},
      {"\n", 28, 0x0D},           {"<Backspace>", 14, 0x08},  {"\b", 14, 0x08},
      {" ", 57, 0x20},            {"<Space>", 57, 0x20},      {"0", 11, 0x30},
      {")", 11, 0x30},            {"1", 2, 0x31},             {"!", 2, 0x31},
      {"5", 6, 0x35},             {"%", 6, 0x35},             {"9", 10, 0x39},
      {"(", 10, 0x39},            {"a", 30, 0x41},            {"A", 30, 0x41},
      {"m", 50, 0x4D},            {"Q", 16, 0x51},            {"z", 44, 0x5A},
      {"Z", 44, 0x5A},            {"<#0>", 82, 0x60},         {"<#1>", 79, 0x61},
      {"<#9>", 73, 0x69},         {"<# *>", 55, 0x6A},        {"<# ->", 74, 0x6D},
      {"<# />", 181, 0x6F},       {"<# Return>", 156, 0x0D},  {"<", 51, 0xBC},
      {"?", 53, 0xBF},            {"\"", 40, 0xDE},           {"|", 43, 0xDC},
      {"{", 26, 0xDB},            {"}", 27, 0xDD},            {"+", 13, 0xBB},
      {"_", 12, 0xBD},            {"~", 41, 0xC0},            {"<Esc>", 1, 0x1B},
      {"Esc", 0, 0x1B},           {"<Mouse Click>", 1, 0x01}, {"<Mouse Center Click>", 4, 0x04},
      {"<Mouse Button 5 Click>", 6, 0x06},                    {"<Cancel>", 197, 0x13},
      {"<Pause>", 197, 0x13},     {"<Clear>", 12, 0x0C},      {"<Left Shift>", 42, 0xA0},
      {"<Right Shift>", 54, 0xA1}, {"Ctrl", 29, 0xA2},        {"<Ctrl (right)>", 157, 0xA3},
      {"<Right Ctrl>", 157, 0xA3}, {"<Left Alt>", 56, 0xA4},  {"<Right Alt>", 184, 0xA5},
      {"WinKey", 91, 0x5B},       {"<WinKey (right)>", 92, 0x5C},
      {"<Left Windows Key>", 219, 0x5B},                      {"<Right WinKey>", 220, 0x5C},
      {"<Applications>", 221, 0x5D}, {"<Sleep>", 223, 0x5F},  {"<CAPS>", 58, 0x14},
      {"<Num Lock>", 69, 0x90},   {"<Scroll Lock>", 70, 0x91}, {"<Kana>", 112, 0x15},
      {"<Hangul>", 21, 0x15},     {"<Kanji>", 148, 0x19},     {"<Non-Convert>", 123, 0x1D},
      {"<Mode Change>", 31, 0x1F}, {"<Pg Up>", 201, 0x21},    {"<Pg Dn>", 209, 0x22},
      {"<End>", 207, 0x23},       {"<Home>", 199, 0x24},      {"<Down>", 208, 0x28},
      {"<Delete>", 211, 0x2E},    {"<Select>", 41, 0x29},     {"<Snapshot>", 183, 0x2C},
      {"<Seperator>", 108, 0x6C}, {"<F1>", 59, 0x70},         {"<F10>", 68, 0x79},
      {"<F11>", 87, 0x7A},        {"<F13>", 100, 0x7C},       {"<F16>", 127, 0x7F},
      {"<F24>", 135, 0x87},       {"<Browser Back>", 234, 0xA6},
      {"<Browser Home>", 178, 0xAC}, {"<Volume Mute>", 160, 0xAD},
      {"<Prev Track>", 144, 0xB1}, {"<Launch Media>", 237, 0xB5},
      {"<Launch App 2>", 183, 0xB7}, {"<Bracket/Backslash>", 86, 0xE2},
      {"<Play>", 19, 0xFA},       {"<Clear Key>", 254, 0xFE},
      // In no table.
      {"<Nope>", 0, 0},           {"<home>", 0, 0},           {"\r", 0, 0},
      {"", 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(ScanCodeOf(r.name), r.scan);
    EXPECT_EQ(VirtualKeyOf(r.name), r.vk);
  }
}

TEST_F(KeyNameTables, NameSets) {
  const std::set<std::string> vkOnly = {
      "WinKey",   "<WinKey (left)>", "<WinKey (right)>", "<Hangul>",      "<Junja>",
      "<Final>",  "<Hanja>",         "<Clear>",          "<Accept>",      "<Mode Change>",
      "<Select>", "<Print>",         "<Execute>",        "<Help>",        "<Seperator>",
      "<F16>",    "<F17>",           "<F18>",            "<F19>",         "<F20>",
      "<F21>",    "<F22>",           "<F23>",            "<F24>",         "<Launch App 1>",
      "<Launch App 2>", "<Misc>",    "<Process>",        "<Packet>",      "<Attn>",
      "<Crsel>",  "<Exsel>",         "<Erase EOF>",      "<Play>",        "<Zoom>",
      "<PA1>",    "<Clear Key>",     "<Pause>"};
  const std::set<std::string> extended = {
      "<# Return>",        "<Browser Back>",   "<Browser Forward>", "<Browser Refresh>",
      "<Browser Stop>",    "<Browser Search>", "<Browser Favorites>", "<Browser Home>",
      "<Volume Mute>",     "<Volume Down>",    "<Volume Up>",       "<Next Track>",
      "<Prev Track>",      "<Stop Media>",     "<Play/Pause Media>", "<Launch Mail>",
      "<Launch Media>",    "<Non-Convert>",    "<Snapshot>",        "<Applications>",
      "<Right Ctrl>",      "<Right Alt>"};
  const std::set<std::string> numPad = {"<#0>", "<#1>", "<#2>", "<#3>", "<#4>", "<#5>",
                                        "<#6>", "<#7>", "<#8>", "<#9>", "<# .>", "<# Return>"};
  const std::set<std::string> navigation = {"<Pg Up>", "<Pg Dn>", "<End>",    "<Home>",
                                            "<Left>",  "<Right>", "<Up>",     "<Down>",
                                            "<Insert>", "<Delete>", "<Return>"};
  EXPECT_EQ(Names(VkOnlyKeyNames()), vkOnly);
  EXPECT_EQ(Names(ExtendedKeyNames()), extended);
  EXPECT_EQ(Names(NumPadKeyNames()), numPad);
  EXPECT_EQ(Names(NavigationKeyNames()), navigation);
  // Same codes, but only one of the pair goes by virtual key or as an extended key.
  EXPECT_TRUE(IsVkOnlyKey("<Pause>"));
  EXPECT_FALSE(IsVkOnlyKey("<Cancel>"));
  EXPECT_TRUE(IsExtendedKey("<Right Ctrl>"));
  EXPECT_FALSE(IsExtendedKey("<Ctrl (right)>"));
  EXPECT_TRUE(IsNumPadKey("<# Return>"));
  EXPECT_TRUE(IsNavigationKey("<Return>"));
  EXPECT_FALSE(IsNavigationKey("Delete"));  // names without brackets are in no set
}

TEST_F(KeyNameTables, UsageTable) {
  const int pairs[][2] = {
      {0x08, 0x2A}, {0x09, 0x2B}, {0x0D, 0x28}, {0x10, 0xE1}, {0x13, 0x48}, {0x1B, 0x29},
      {0x20, 0x2C}, {0x24, 0x4A}, {0x2E, 0x4C}, {0x30, 0x27}, {0x31, 0x1E}, {0x39, 0x26},
      {0x41, 0x04}, {0x5A, 0x1D}, {0x5B, 0xE3}, {0x5C, 0xE7}, {0x60, 0x62}, {0x61, 0x59},
      {0x69, 0x61}, {0x6F, 0x54}, {0x70, 0x3A}, {0x7B, 0x45}, {0x90, 0x53}, {0xBA, 0x33},
      {0xDE, 0x34},
      // None: F13 and above, the left and right modifier codes, media keys, Snapshot.
      {0x7C, 0}, {0x87, 0}, {0xA0, 0}, {0xA3, 0}, {0xA5, 0}, {0xAD, 0}, {0x2C, 0}, {0x5D, 0},
      {0x00, 0}, {0xFF, 0},
  };
  for (const auto& p : pairs) EXPECT_EQ(UsageOfVirtualKey(p[0]), p[1]) << std::hex << p[0];
}

TEST_F(KeyNameTables, FillingAgainChangesNothingAndClearingEmptiesAll) {
  const KeyCodeTable before = ScanCodeTable();
  InitKeyNameTables();
  EXPECT_EQ(ScanCodeTable(), before);
  EXPECT_EQ(VirtualKeyTable().size(), 237u);
  ClearKeyNameTables();
  EXPECT_TRUE(ScanCodeTable().empty());
  EXPECT_TRUE(VirtualKeyTable().empty());
  EXPECT_TRUE(VkOnlyKeyNames().empty());
  EXPECT_TRUE(ExtendedKeyNames().empty());
  EXPECT_TRUE(NumPadKeyNames().empty());
  EXPECT_TRUE(NavigationKeyNames().empty());
  EXPECT_EQ(ScanCodeOf("<Home>"), 0);
  InitKeyNameTables();  // a restarted engine
  EXPECT_EQ(ScanCodeTable(), before);
  EXPECT_EQ(ScanCodeOf("<Home>"), 199);
}

}  // namespace
