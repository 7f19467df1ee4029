// Where the program looks for a plug-in library, and where the device's own script part that
// plug-ins write lands: beside the device's script, where the script writer copies it from,
// also with a data root.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "macros/device_macro_device.h"
#include "macros/model/script_writer.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "tests/support/scratch_dir.h"
#include "ui/plugins/device_specific_script.h"
#include "ui/plugins/plugin_windows.h"
#include "ui/programming_window/device_record_programming_device.h"

using namespace testsupport;

namespace {

class PluginFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeDeviceFolders();
    SetDataRootFromHost("");
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
  }
  void TearDown() override {
    FreeDeviceFolders();
    SetDataRootFromHost("");
  }

  std::string Type(const std::string& name = "") const { return dir_ / ("QpadDevices\\Vid0a7cPid0019\\" + name); }
  std::string RootType(const std::string& name = "") const { return dir_ / ("root\\Vid0A7CPid0019\\" + name); }
  void UseRoot() {
    MakeDirs(RootType());
    SetDataRootFromHost(dir_ / "root");
  }
  static std::string Folder(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

  ScratchDir dir_{"plugins"};
};

TEST_F(PluginFolders, APlugInIsLookedForInItsDeviceTypeFolderFirstThenInTheProgramFolder) {
  MakeDirs(Type());
  UseRoot();
  const DeviceFolderEntry* folder = FindDeviceFolder(0x0a7c, 0x19, 0);
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(LocatePluginLibrary(folder, "Key.dll"), "");
  ASSERT_TRUE(WriteTextFile(dir_ / "Key.dll", "program"));
  EXPECT_EQ(LocatePluginLibrary(folder, "Key.dll"), dir_ / "Key.dll");
  EXPECT_EQ(LocatePluginLibrary(nullptr, "Key.dll"), dir_ / "Key.dll");
  ASSERT_TRUE(WriteTextFile(Type("Key.dll"), "type"));
  EXPECT_EQ(LocatePluginLibrary(folder, "Key.dll"), Type("Key.dll"));
  ASSERT_TRUE(WriteTextFile(RootType("Key.dll"), "root"));
  EXPECT_EQ(LocatePluginLibrary(folder, "Key.dll"), RootType("Key.dll"));
}

TEST_F(PluginFolders, TheDeviceSpecificPartLiesBesideTheScriptTheDeviceRuns) {
  const struct {
    const char* what;
    bool typeFolder, rootFolder, typeScript, rootScript;
    bool inRoot;  // else in the program's type folder
  } cases[] = {
      {"no data root, no script yet", true, false, false, false, false},
      {"no data root, the unit's script", true, false, true, false, false},
      {"a data root holding the script", true, true, true, true, true},
      // The script the device runs is still the program's: so is its own part.
      {"a data root without a script", true, true, true, false, false},
      // No type folder of the program's: the part goes where the unit's script will.
      {"the type folder only under the data root", false, true, false, false, true},
  };
  for (const auto& k : cases) {
    FreeDeviceFolders();
    SetDataRootFromHost("");
    RemoveTree(dir_ / "QpadDevices");
    RemoveTree(dir_ / "root");
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
    if (k.typeFolder) MakeDirs(Type());
    if (k.rootFolder) UseRoot();
    if (k.typeScript) WriteTextFile(Type("Script_1.oxs"), "");
    if (k.rootScript) WriteTextFile(RootType("Script_1.oxs"), "");
    DeviceRecord record;
    record.folder = FindDeviceFolder(0x0a7c, 0x19, 0);
    record.unitId = 1;
    ASSERT_NE(record.folder, nullptr) << k.what;
    DeviceRecordMacroDevice device(record);
    const std::string expected = (k.inRoot ? RootType() : Type()) + "Device Specific.oxs";
    EXPECT_EQ(DeviceSpecificFilePath(device), expected) << k.what;
    // The programming window's device over the same record answers alike (its own script too,
    // where imported on-board macros go).
    DeviceRecordProgrammingDevice windowDevice(record);
    EXPECT_EQ(DeviceSpecificFilePath(windowDevice), expected) << k.what;
    EXPECT_EQ(windowDevice.OwnScriptPath(), device.OwnScriptPath()) << k.what;
    if (!device.ScriptFolder().empty()) {
      EXPECT_EQ(Folder(DeviceSpecificFilePath(device)), device.ScriptFolder()) << k.what;
    }
  }
  DeviceRecord unknown;
  DeviceRecordMacroDevice none(unknown);
  EXPECT_EQ(DeviceSpecificFilePath(none), "");
}

TEST_F(PluginFolders, AWindowThatIsNoProgrammingWindowGetsNothingWritten) {
  MakeDirs(Type());
  const HWND other = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_FALSE(WriteDeviceSpecificScript(other, "void f() {}"));
  EXPECT_FALSE(WriteDeviceSpecificScript(nullptr, "void f() {}"));
  EXPECT_FALSE(WriteDeviceSpecificScript(other, nullptr));
  EXPECT_FALSE(WriteDeviceSpecificScript(reinterpret_cast<HWND>(0x7777), "void f() {}"));
  EXPECT_EQ(OpenCustomKeyWindow(other, 5), 0);
  DestroyWindow(other);
  EXPECT_FALSE(FileExists(Type("Device Specific.oxs")));
}

}  // namespace
