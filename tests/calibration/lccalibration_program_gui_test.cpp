// The real LCcalibration.exe, started from a folder of its own.
#include <gtest/gtest.h>

#include "tests/calibration/gui_helpers.h"

using namespace testsupport;

namespace {

TEST(Program, StartsWithItsWelcomePageAndAsksBeforeClosing) {
  ScratchDir dir("lcp");
  const std::string bin = EnvOr("ORVANE_BIN");
  ASSERT_TRUE(CopyFileA((bin + "\\LCcalibration.exe").c_str(), (dir / "LCcalibration.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((bin + "\\VHXHID.dll").c_str(), (dir / "VHXHID.dll").c_str(), FALSE));
  ChildProcess program;
  ASSERT_TRUE(program.Start("\"" + (dir / "LCcalibration.exe") + "\"", dir.path()));

  // No controller definition beside it: said once, then the wizard comes up.
  HWND box = WaitForProcessWindowOfClass(program.Id(), "#32770", 20000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), "Lococab Calibration Setup");
  EXPECT_EQ(MessageBoxText(box), "Error: ...controllerModernController.lcm file not found.");
  PostMessageA(box, WM_COMMAND, IDOK, 0);

  HWND main = WaitForProcessWindowOfClass(program.Id(), "TForm1", 20000);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(main), "Lococab Calibration Setup");
  EXPECT_NE(FindChildByText(main, "Static",
                            "Welcome to the Lococab Calibration Setup.  This application will guide you through "
                            "the calibration of your Lococab unit. Lococab Calibration Setup needs to be run once "
                            "for proper function of the unit. It can however be run at any time. At this point "
                            "please make sure your Lococab unit is plugged into a USB port then click the Next "
                            "button to begin the calibration process."),
            nullptr);
  EXPECT_NE(FindChildByText(main, "Button", "&Next"), nullptr);
  std::string def;
  ASSERT_TRUE(ReadTextFile(dir / "Lococab.def", def));
  EXPECT_NE(def.find("PrefLangID=9"), std::string::npos);

  PostMessageA(main, WM_CLOSE, 0, 0);
  box = WaitForProcessWindowOfClass(program.Id(), "#32770", 20000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box),
            "Calibration is incomplete.  Click OK to exit the calibration process or Cancel to continue.");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(program.Wait(20000));
  EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(Program, AStoredLanguageThatIsNoNumberEndsItWithAnError) {
  ScratchDir dir("lcp");
  const std::string bin = EnvOr("ORVANE_BIN");
  ASSERT_TRUE(CopyFileA((bin + "\\LCcalibration.exe").c_str(), (dir / "LCcalibration.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((bin + "\\VHXHID.dll").c_str(), (dir / "VHXHID.dll").c_str(), FALSE));
  ASSERT_TRUE(WritePrivateProfileStringA("", "PrefLangID", "abc", (dir / "Lococab.def").c_str()));
  ChildProcess program;
  ASSERT_TRUE(program.Start("\"" + (dir / "LCcalibration.exe") + "\"", dir.path()));
  HWND box = WaitForProcessWindowOfClass(program.Id(), "#32770", 20000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "'abc' is not a valid integer value");
  EXPECT_EQ(FindProcessWindow(program.Id(), "TForm1"), nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(program.Wait(20000));
  EXPECT_EQ(program.ExitCode(), 1u);
}

}  // namespace
