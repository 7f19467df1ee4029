#include "runtime/device/programming_refusal.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/base/system_calls.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

TEST(ProgrammingRefusalText, NamesTheDeviceWhyAndItsScript) {
  EXPECT_EQ(ProgrammingRefusalText(ProgrammingRefusal::kNoScript, "Qpad 24 LED", 1, "C:\\Q\\Vid0a7cPid0019\\Script.oxs"),
            "The programming window of Qpad 24 LED ID:1 cannot open: its script file is missing.\n"
            "C:\\Q\\Vid0a7cPid0019\\Script.oxs");
  EXPECT_EQ(ProgrammingRefusalText(ProgrammingRefusal::kScriptNotBuilt, "Qpad 12", 2, "C:\\Q\\Script_2.oxs"),
            "The programming window of Qpad 12 ID:2 cannot open: its script file did not build.\n"
            "C:\\Q\\Script_2.oxs");
  EXPECT_EQ(ProgrammingRefusalText(ProgrammingRefusal::kLayoutNotLoaded, "Qpad Desktop", 1, "C:\\Q\\layout.kll"),
            "The programming window of Qpad Desktop ID:1 cannot open: its layout file or its pictures could not be "
            "loaded.\n"
            "C:\\Q\\layout.kll");
}

class Boxes : public SystemCalls {
 public:
  std::vector<std::string> shown;
  BoxAnswer ShowMessageBox(void*, const char* text, const char* caption, BoxButtons, BoxIcon icon,
                           BoxFlag flag) override {
    shown.push_back(std::string(caption) + ": " + text + (icon == BoxIcon::Error ? " (error)" : "") +
                    (flag == BoxFlag::SetForeground ? " (foreground)" : ""));
    return BoxAnswer::Ok;
  }
};

// The script is looked for as the build looks for it: the unit's own, else the type's.
TEST(TellProgrammingRefused, SaysWhetherTheScriptIsMissingOrDidNotBuild) {
  ScratchDir dir("refusal");
  const std::string type = dir / "QpadDevices\\Vid0a7cPid0019";
  ASSERT_TRUE(MakeDirs(type));
  ASSERT_TRUE(WriteTextFile(type + "\\DeviceDescription.txt", "Device Name: Qpad 24 LED\r\n"));
  FreeDeviceFolders();
  InitProgramFolders("\"" + dir.path() + "\\Orvane.exe\"");
  DeviceRecord d;
  d.vendorId = kVendorId;
  d.productId = 0x19;
  d.unitId = 1;
  d.folder = FindDeviceFolder(kVendorId, 0x19, 0);
  ASSERT_NE(d.folder, nullptr);
  Boxes boxes;

  TellProgrammingRefused(boxes, d);
  ASSERT_TRUE(WriteTextFile(type + "\\Script_1.oxs", "void QpadInit() { nonsense }\r\n"));
  TellProgrammingRefused(boxes, d);
  const std::vector<std::string> want = {
      "Orvane II Error: The programming window of Qpad 24 LED ID:1 cannot open: its script file is missing.\n" +
          type + "\\Script.oxs (error) (foreground)",
      "Orvane II Error: The programming window of Qpad 24 LED ID:1 cannot open: its script file did not build.\n" +
          type + "\\Script_1.oxs (error) (foreground)"};
  EXPECT_EQ(boxes.shown, want);
  FreeDeviceFolders();
}

}  // namespace
