#include "runtime/device/device_description.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/device/device_record.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

TEST(DeviceDescription, ModesAndTheModeSwitch) {
  const struct {
    const char* text;
    int mode;
    bool offered;
    int quorlPid;
  } cases[] = {
      {"", kModeNone, false, 0},
      {"Device Mode: Keyboard\n", kModeKeyboard, false, 0},
      {"Device Mode: QUORL\n", kModeQuorl, false, 0},
      {"Device Mode: QUORL\nKeyboard Mode Available: Yes\n", kModeQuorlSwitchable, true, 0},
      {"Device Mode: Keyboard\r\nQUORL Mode Available: Yes\r\nQUORL PID: 0x1A\r\n",
       kModeKeyboardSwitchable, true, 0x1A},
      // Exact and case-sensitive values; other values leave the mode.
      {"Device Mode: quorl\n", kModeNone, false, 0},
      {"Device Mode: Keyboard\nDevice Mode: Joystick\n", kModeKeyboard, false, 0},
      {"Device Mode: Keyboard\nDevice Mode: QUORL\n", kModeQuorl, false, 0},
      {"QUORL Mode Available: yes\n", kModeNone, false, 0},
      // "Yes" anywhere offers the switch; a later "No" does not take it back.
      {"QUORL Mode Available: Yes\nKeyboard Mode Available: No\nDevice Mode: Keyboard\n",
       kModeKeyboardSwitchable, true, 0},
      {"QUORL PID: 26\nQUORL PID: 032\n", kModeNone, false, 26},
      {"QUORL PID: junk\n", kModeNone, false, 0},
      {"  Device Mode: QUORL\n", kModeNone, false, 0},  // prefixes start the line
  };
  for (const auto& c : cases) {
    const DeviceDescription d = ParseDeviceDescriptionText(c.text);
    EXPECT_EQ(d.mode, c.mode) << c.text;
    EXPECT_EQ(d.modeSwitchAvailable, c.offered) << c.text;
    EXPECT_EQ(d.quorlProductId, c.quorlPid) << c.text;
  }
}

TEST(DeviceDescription, NameIsTrimmedAndKeptShort) {
  EXPECT_EQ(ParseDeviceDescriptionText("Device Name:\t Qpad 24 LED \r\n").name, "Qpad 24 LED");
  EXPECT_EQ(ParseDeviceDescriptionText("Device Name: A\nDevice Name: B\n").name, "B");
  const std::string longName(150, 'n');
  EXPECT_EQ(ParseDeviceDescriptionText("Device Name: " + longName + "\n").name,
            std::string(kDeviceNameChars, 'n'));
  // A byte above 0x7F is part of the name, not white space.
  EXPECT_EQ(ParseDeviceDescriptionText("Device Name: Qpad\xAE \xA0\n").name, "Qpad\xAE \xA0");
  // The reader's line holds 199 characters: the rest of a longer line is a line of its own.
  const std::string filler(199 - 1, 'x');
  EXPECT_EQ(ParseDeviceDescriptionText("#" + filler + "Device Name: Cut\n").name, "Cut");
}

TEST(TrimSpaces, TrimsBothEndsInPlace) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"  a b \t\r\n", "a b"}, {"", ""}, {" \t ", ""}, {"x", "x"}, {"\xE9 ", "\xE9"}};
  for (const auto& c : cases) {
    std::string s = c.in;
    TrimSpaces(s);
    EXPECT_EQ(s, c.out);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s", c.in);
    TrimSpaces(buf);
    EXPECT_STREQ(buf, c.out);
  }
}

TEST(DefaultDeviceName, UsesUpperCaseHex) {
  EXPECT_EQ(DefaultDeviceName(0xa7c, 0x1a), "DeviceVID0A7CPID001A");
}

class DescriptionFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeDeviceFolders();
    SetDataRootFromHost("");
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
    ASSERT_TRUE(MakeDirs(dir_ / "QpadDevices\\Vid0a7cPid0019"));
    ASSERT_TRUE(MakeDirs(dir_ / "QpadDevices\\Vid0a7cPid0020"));
  }
  void TearDown() override { FreeDeviceFolders(); }
  ScratchDir dir_;
};

TEST_F(DescriptionFiles, FillsAnItemOrOnlyTheDevicesModeSwitch) {
  ASSERT_TRUE(WriteTextFile(dir_ / "QpadDevices\\Vid0a7cPid0019\\DeviceDescription.txt",
                            "Device Name: Qpad 24 LED\nDevice Mode: QUORL\n"
                            "Keyboard Mode Available: Yes\nQUORL PID: 0x1A\n"));
  TrayDeviceItem item;
  item.folder = FindDeviceFolder(0x0A7C, 0x19, 0);
  item.vendorId = 0x0A7C;
  item.productId = 0x19;
  ReadDeviceDescription(&item, nullptr);
  EXPECT_EQ(item.name, "Qpad 24 LED");
  EXPECT_EQ(item.mode, kModeQuorlSwitchable);
  EXPECT_EQ(item.quorlProductId, 0x1A);

  DeviceRecord device;
  device.folder = item.folder;
  ReadDeviceDescription(nullptr, &device);
  EXPECT_TRUE(device.modeSwitchAvailable);

  // Without a file: the defaults, and the device keeps what it had.
  TrayDeviceItem bare;
  bare.folder = FindDeviceFolder(0x0A7C, 0x20, 0);
  bare.vendorId = 0x0A7C;
  bare.productId = 0x20;
  bare.mode = kModeQuorl;
  ReadDeviceDescription(&bare, nullptr);
  EXPECT_EQ(bare.mode, kModeNone);
  EXPECT_EQ(bare.name, "DeviceVID0A7CPID0020");
  DeviceRecord other;
  other.folder = bare.folder;
  ReadDeviceDescription(nullptr, &other);
  EXPECT_FALSE(other.modeSwitchAvailable);
}

}  // namespace
