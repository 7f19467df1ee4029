// A keypad's script shows a calibration overlay through QpadCalibration.dll, bound by its
// device type's "module" section and run by the real device thread: opened, changed and closed
// across a build cycle, which unloads the library (its class and its windows go with it) and
// loads it again.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <atomic>
#include <initializer_list>
#include <string>

#include "tests/modules/module_device_fixture.h"
#include "tests/modules/qpad_calibration/client_pixels.h"

using namespace modulestest;
using namespace qpadcaltest;
using namespace testsupport;

namespace {

constexpr int kCalibrationKeypad = 0x0119;  // tests/data/calibration_keypad
constexpr ReportShape kKeypadReport{9, 7};
constexpr wchar_t kOverlayClass[] = L"Qpad Calibration Class";

const Colour kBlue{0x20, 0x40, 0xa0};  // background.png
const Colour kRed{0xe0, 0x20, 0x20};   // knob.png, 20 by 20
const Colour kGreen{0x20, 0xc0, 0x40}; // marker.png, 10 by 10
bool Greenish(Colour c) { return c.g > 150 && c.r < 100 && c.b < 100; }

// Key 0 opens the overlay over the test pictures, key 1 changes it, key 2 closes it, key 3
// calls with handles that are not overlays and with odd strings.
std::string KeypadScript() {
  std::string data = EnvOr("ORVANE_TEST_DATA") + "\\qpad_calibration\\script.oxs";
  std::string escaped;
  for (char c : data) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return "uint overlay = 0;\r\n"
         "int textId = -1;\r\n"
         "void QpadInit() { record(\"init\"); }\r\n"
         "void KeyUp(int scanCode) {}\r\n"
         "void KeyDown(int scanCode) {\r\n"
         "  if (scanCode == 0) Open();\r\n"
         "  if (scanCode == 1) Change();\r\n"
         "  if (scanCode == 2) Close();\r\n"
         "  if (scanCode == 3) Odd();\r\n"
         "}\r\n"
         "void Open() {\r\n"
         "  string name = \"Cab\", path = \"" + escaped + "\";\r\n"
         "  string background = \"background.png\", knob = \"knob.png\", marker = \"marker.png\";\r\n"
         "  string text = \"WWWWW\", font = \"Arial\";\r\n"
         "  overlay = BeginCalibration(name, path);\r\n"
         "  record(\"folder \" + path);\r\n"
         "  record(\"background \" + AddBackgroundAndControlImages(overlay, background, knob, 30, 40));\r\n"
         "  record(\"image \" + AddImage(overlay, marker, 10, 10));\r\n"
         "  textId = AddTextBlock(overlay, text, 10, 70, 140, 40, 255, 255, 255, font, 20);\r\n"
         "  record(\"text \" + textId);\r\n"
         "  record(\"opened\");\r\n"
         "}\r\n"
         "void Change() {\r\n"
         "  string knob = \"knob.png\", text = \"WWWWW\", font = \"No Such Font Anywhere\";\r\n"
         "  record(\"move \" + MoveControlImage(overlay, 120, 20));\r\n"
         "  record(\"modify image \" + ModifyImage(overlay, 0, knob, 60, 10));\r\n"
         "  record(\"modify text \" + ModifyTextBlock(overlay, textId, text, 10, 70, 140, 40,\r\n"
         "                                            0x20, 0xE0, 0x20, font, 20));\r\n"
         "  record(\"changed\");\r\n"
         "}\r\n"
         "void Close() {\r\n"
         "  record(\"end \" + EndCalibration(overlay));\r\n"
         "  record(\"after end \" + MoveControlImage(overlay, 1, 1) + \" \" + EndCalibration(overlay));\r\n"
         "  overlay = 0;\r\n"
         "  record(\"closed\");\r\n"
         "}\r\n"
         "void Odd() {\r\n"
         "  string empty = \"\", high = \"\\xe9\\xff\\x80\", font = \"Arial\", longName = \"\";\r\n"
         "  for (int i = 0; i < 600; i++) longName += \"x\";\r\n"
         "  for (int n = 0; n < 3; n++) {\r\n"
         "    uint bad = 0;\r\n"
         "    if (n == 1) bad = 12345;\r\n"
         "    if (n == 2) bad = 0xFFFFFFFF;\r\n"
         "    record(\"bad \" + MoveControlImage(bad, 1, 1) + AddImage(bad, empty, 0, 0)\r\n"
         "        + AddTextBlock(bad, high, 0, 0, 1, 1, 0, 0, 0, font, 9) + DeleteImage(bad, 0)\r\n"
         "        + DeleteTextBlock(bad, 0) + AddBackgroundAndControlImages(bad, empty, high, 0, 0)\r\n"
         "        + ModifyImage(bad, 0, longName, 0, 0)\r\n"
         "        + ModifyTextBlock(bad, 0, longName, 0, 0, 1, 1, 0, 0, 0, longName, 9)\r\n"
         "        + EndCalibration(bad));\r\n"
         "  }\r\n"
         "  uint other = BeginCalibration(high, empty);\r\n"
         "  record(\"odd begin \" + (other == 0 ? 0 : 1) + empty.length() + EndCalibration(other));\r\n"
         "  if (overlay == 0) return;\r\n"
         "  int a = AddImage(overlay, longName, 0, 0);\r\n"
         "  int b = AddImage(overlay, high, 5, 5);\r\n"
         "  int c = AddTextBlock(overlay, high, -50, -50, -1, -1, 999, -3, 70000, empty, 0);\r\n"
         "  int d = AddTextBlock(overlay, longName, 0, 0, 100000, 100000, 0, 0, 0, longName, -4);\r\n"
         "  record(\"odd \" + a + \" \" + b + \" \" + c + \" \" + d);\r\n"
         "  record(\"unknown \" + DeleteImage(overlay, 12345) + \" \" + DeleteTextBlock(overlay, -7));\r\n"
         "}\r\n";
}

class CalibrationKeypad : public ModuleDevice {
 protected:
  static void SetUpTestSuite() {
    Gdiplus::GdiplusStartupInput input;  // as the main program does for the whole process
    Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr);
  }
  static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(gdiplusToken_); }

  void SetUp() override {
    ModuleDevice::SetUp();
    seenWindow = nullptr;
    seenInstance = nullptr;
    libraryStayed = classStayed = windowStayed = false;
    // Right after the records (and their libraries) went at a build cycle.
    atTeardown = [] {
      if (GetModuleHandleA("QpadCalibration.dll")) libraryStayed = true;
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      if (seenInstance && GetClassInfoExW(seenInstance, kOverlayClass, &wc)) classStayed = true;
      if (seenWindow && IsWindow(seenWindow)) windowStayed = true;
    };
  }

  // Presses and releases key `code` of byte 1 and waits for the script's record of it.
  void Press(int code, const std::string& done) {
    Send({static_cast<std::uint8_t>(1 << code)});
    Send({0});
    ASSERT_TRUE(WaitUntil([&] { return Recorded(done); }, 10000)) << RecordsText();
  }

  static bool ClassRegistered(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    return instance && GetClassInfoExW(instance, kOverlayClass, &wc);
  }

  struct Painted {
    int x, y;
    Colour colour;
  };
  // The overlay's pixels once the device thread has painted each colour at its point: a script's
  // calls are recorded at once, their painting follows on that thread, one call at a time.
  static ClientPixels PaintedPixels(HWND window, std::initializer_list<Painted> points) {
    ClientPixels p(window);
    WaitUntil([&] {
      p = ClientPixels(window);
      for (const Painted& point : points)
        if (!p.At(point.x, point.y).Near(point.colour)) return false;
      return true;
    }, 5000, 20);
    return p;
  }
  static ClientPixels PaintedPixels(HWND window, int x, int y, Colour expected) {
    return PaintedPixels(window, {{x, y, expected}});
  }

  static inline ULONG_PTR gdiplusToken_ = 0;
  static inline std::atomic<HWND> seenWindow{nullptr};
  static inline std::atomic<HINSTANCE> seenInstance{nullptr};
  static inline std::atomic<bool> libraryStayed{false}, classStayed{false}, windowStayed{false};
};

TEST_F(CalibrationKeypad, TheScriptsOverlayWorksAcrossABuildCycleThatUnloadsTheLibrary) {
  ASSERT_TRUE(CopyDeviceType(EnvOr("ORVANE_TEST_DATA") + "\\calibration_keypad", kCalibrationKeypad,
                          KeypadScript()));
  ASSERT_NO_FATAL_FAILURE(AddDevice(kCalibrationKeypad, kKeypadReport, VHXSIM_MODEL_KEYPAD));
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(WaitUntil([] { return Recorded("init"); }, 5000)) << RecordsText();
  seenInstance = GetModuleHandleA("QpadCalibration.dll");
  ASSERT_TRUE(ClassRegistered(seenInstance));

  ASSERT_NO_FATAL_FAILURE(Press(0, "opened"));
  EXPECT_TRUE(Recorded("folder " + EnvOr("ORVANE_TEST_DATA") + "\\qpad_calibration"))
      << RecordsText();
  EXPECT_TRUE(Recorded("background 1"));
  EXPECT_TRUE(Recorded("image 0"));
  EXPECT_TRUE(Recorded("text 0"));
  HWND window = FindWindowA("Qpad Calibration Class", "Cab Calibration");
  ASSERT_NE(window, nullptr);
  seenWindow = window;
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_NE(GetWindowThreadProcessId(window, nullptr), GetCurrentThreadId());  // the device thread's
  ClientPixels p = PaintedPixels(window, {{40, 50, kRed}, {15, 15, kGreen}});
  p.SavePng("qpad_calibration_device_script.png");
  EXPECT_EQ(p.width(), 200);
  EXPECT_EQ(p.height(), 120);
  EXPECT_TRUE(p.At(5, 5).Near(kBlue)) << ColourText(p.At(5, 5));
  EXPECT_TRUE(p.At(40, 50).Near(kRed)) << ColourText(p.At(40, 50));
  EXPECT_TRUE(p.At(15, 15).Near(kGreen)) << ColourText(p.At(15, 15));

  ASSERT_NO_FATAL_FAILURE(Press(1, "changed"));
  EXPECT_TRUE(Recorded("move 1"));
  EXPECT_TRUE(Recorded("modify image 0"));
  EXPECT_TRUE(Recorded("modify text 0"));
  p = PaintedPixels(window, 130, 30, kRed);
  p.SavePng("qpad_calibration_device_script_changed.png");
  EXPECT_TRUE(p.At(130, 30).Near(kRed)) << ColourText(p.At(130, 30));
  EXPECT_TRUE(p.At(40, 50).Near(kBlue)) << ColourText(p.At(40, 50));  // the knob's old place
  EXPECT_TRUE(p.At(70, 20).Near(kRed)) << ColourText(p.At(70, 20));   // the image, now a knob
  EXPECT_TRUE(p.At(15, 15).Near(kBlue)) << ColourText(p.At(15, 15));
  EXPECT_GT(p.Count(10, 70, 150, 110, Greenish), 40);  // the text, in its fallback font

  // Handles that are not overlays change nothing; odd strings make harmless records.
  ASSERT_NO_FATAL_FAILURE(Press(3, "unknown -1 -1"));
  EXPECT_NE(RecordsText().find("bad 000000000;bad 000000000;bad 000000000;odd begin 100;"
                               "odd 1 2 1 2;unknown -1 -1;"),
            std::string::npos)
      << RecordsText();
  EXPECT_EQ(FindWindowW(kOverlayClass, L"\u00e9\u00ff\u0080 Calibration"), nullptr);
  p = PaintedPixels(window, 130, 30, kRed);  // it still paints
  EXPECT_TRUE(p.At(40, 50).Near(kBlue)) << ColourText(p.At(40, 50));

  // The build cycle, with the overlay still open: the library goes, and its class and window
  // with it, before it is loaded again.
  ClearRecords();
  ASSERT_NO_FATAL_FAILURE(RunBuildCycle());
  EXPECT_FALSE(libraryStayed);
  EXPECT_FALSE(classStayed);
  EXPECT_FALSE(windowStayed);
  EXPECT_FALSE(IsWindow(window));
  ASSERT_TRUE(WaitUntil([] { return Recorded("init"); }, 5000)) << RecordsText();
  seenInstance = GetModuleHandleA("QpadCalibration.dll");
  EXPECT_TRUE(ClassRegistered(seenInstance));

  // Loaded again, the library counts its ids from 0 again.
  ASSERT_NO_FATAL_FAILURE(Press(0, "opened"));
  EXPECT_TRUE(Recorded("background 1"));
  EXPECT_TRUE(Recorded("image 0"));
  EXPECT_TRUE(Recorded("text 0"));
  window = FindWindowA("Qpad Calibration Class", "Cab Calibration");
  ASSERT_NE(window, nullptr);
  seenWindow = window;
  p = PaintedPixels(window, {{40, 50, kRed}, {15, 15, kGreen}});
  EXPECT_TRUE(p.At(15, 15).Near(kGreen)) << ColourText(p.At(15, 15));
  ASSERT_NO_FATAL_FAILURE(Press(2, "closed"));
  EXPECT_TRUE(Recorded("end 0"));
  EXPECT_TRUE(Recorded("after end 0 0"));  // the handle is dead now
  EXPECT_FALSE(IsWindow(window));
  ASSERT_NO_FATAL_FAILURE(Press(3, "odd begin 100"));
  EXPECT_TRUE(Recorded("bad 000000000")) << RecordsText();
}

}  // namespace
