// The overlay on the display: a host that starts GDI+ as the main program does, loads the
// library, calls its exports with std::string objects and reads back the window's pixels.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <memory>

#include "tests/modules/qpad_calibration/client_pixels.h"
#include "tests/modules/qpad_calibration/qpad_calibration_library.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace qpadcaltest;
using namespace testsupport;

// Under Xvfb without a window manager, Wine waits 2 s for every shown captioned window that
// is hidden or destroyed: only the two tests that look at pixels show their overlay.

namespace {

const Colour kBlue{0x20, 0x40, 0xa0};    // background.png
const Colour kYellow{0xf0, 0xd0, 0x20};  // its bottom-right corner square, 40 by 40
const Colour kRed{0xe0, 0x20, 0x20};     // knob.png, 20 by 20
const Colour kGreen{0x20, 0xc0, 0x40};   // marker.png, 10 by 10

bool Reddish(Colour c) { return c.r > 150 && c.g < 100 && c.b < 100; }
bool Greenish(Colour c) { return c.g > 150 && c.r < 100 && c.b < 100; }

class Overlay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr);
  }
  static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(gdiplusToken_); }

  void SetUp() override {
    lib_ = std::make_unique<QpadCalibrationLibrary>(EnvOr("ORVANE_BIN") + "\\QpadCalibration.dll");
    ASSERT_TRUE(lib_->ok()) << "missing: " << lib_->missing();
  }
  void TearDown() override { lib_.reset(); }

  // An overlay whose pictures are the test pictures.
  void* Begin(std::string name = "Lococab") {
    std::string path = EnvOr("ORVANE_TEST_DATA") + "\\qpad_calibration\\script.oxs";
    return lib_->BeginCalibration(name, path);
  }
  static HWND WindowOf(const std::string& title) {
    return FindWindowA("Qpad Calibration Class", title.c_str());
  }
  // The window as it is once its pending paint is done.
  static ClientPixels Pixels(HWND window) {
    UpdateWindow(window);
    PumpMessages(30);
    return ClientPixels(window);
  }
  static inline ULONG_PTR gdiplusToken_ = 0;
  std::unique_ptr<QpadCalibrationLibrary> lib_;
};

TEST_F(Overlay, BeginCutsTheCallersPathAndMakesAHiddenCaptionedWindow) {
  std::string name = "Lococab", path = "E:\\cab\\data\\script.txt";
  void* overlay = lib_->BeginCalibration(name, path);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(path, "E:\\cab\\data");
  EXPECT_EQ(name, "Lococab");
  HWND window = WindowOf("Lococab Calibration");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_NE(GetClassLongPtrA(window, GCLP_HICON), 0);  // the library's icon
  EXPECT_NE(GetClassLongPtrA(window, GCLP_HICONSM), 0);

  EXPECT_EQ(lib_->EndCalibration(overlay), 0);
  EXPECT_FALSE(IsWindow(window));
  // The handle is dead now: every later call is refused instead of using freed memory.
  EXPECT_EQ(lib_->EndCalibration(overlay), 0);
  EXPECT_EQ(lib_->MoveControlImage(overlay, 1, 1), 0);
  std::string text = "x", font = "Arial";
  EXPECT_EQ(lib_->AddTextBlock(overlay, text, 0, 0, 9, 9, 0, 0, 0, font, 9), 0);
}

TEST_F(Overlay, PicturesAreDrawnAtTheirPlacesAndTheControlMoves) {
  // The pictures in a folder of their own, the marker also under a name with a byte above
  // 0x7F: 0xE9 is U+00E9 in the ANSI code page of this system.
  ScratchDir folder("qpadcal");
  const std::string data = EnvOr("ORVANE_TEST_DATA") + "\\qpad_calibration\\";
  for (const char* name : {"background.png", "knob.png", "marker.png"})
    ASSERT_TRUE(CopyFileA((data + name).c_str(), (folder / name).c_str(), FALSE)) << name;
  const std::wstring wideFolder(folder.path().begin(), folder.path().end());
  ASSERT_TRUE(CopyFileW((wideFolder + L"\\marker.png").c_str(),
                        (wideFolder + L"\\mark\u00e9.png").c_str(), FALSE));
  std::string name = "Lococab", path = folder / "script.oxs";
  void* overlay = lib_->BeginCalibration(name, path);
  HWND window = WindowOf("Lococab Calibration");
  ASSERT_NE(window, nullptr);
  std::string background = "background.png", knob = "knob.png", marker = "marker.png";
  std::string accented = "mark\xE9.png";
  EXPECT_EQ(lib_->AddBackgroundAndControlImages(overlay, background, knob, 30, 40), 1);
  EXPECT_TRUE(IsWindowVisible(window));
  ClientPixels p = Pixels(window);
  p.SavePng("qpad_calibration_background.png");
  EXPECT_EQ(p.width(), 200);
  EXPECT_EQ(p.height(), 120);
  EXPECT_TRUE(p.At(5, 5).Near(kBlue)) << ColourText(p.At(5, 5));
  EXPECT_TRUE(p.At(180, 100).Near(kYellow)) << ColourText(p.At(180, 100));  // not stretched
  EXPECT_TRUE(p.At(155, 100).Near(kBlue)) << ColourText(p.At(155, 100));
  EXPECT_TRUE(p.At(40, 50).Near(kRed)) << ColourText(p.At(40, 50));

  EXPECT_EQ(lib_->MoveControlImage(overlay, 120, 20), 1);
  const int first = lib_->AddImage(overlay, marker, 10, 10);
  const int second = lib_->AddImage(overlay, accented, 10, 90);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
  p = Pixels(window);
  p.SavePng("qpad_calibration_moved.png");
  EXPECT_TRUE(p.At(40, 50).Near(kBlue)) << ColourText(p.At(40, 50));  // the old place is clean
  EXPECT_TRUE(p.At(130, 30).Near(kRed)) << ColourText(p.At(130, 30));
  EXPECT_TRUE(p.At(15, 15).Near(kGreen)) << ColourText(p.At(15, 15));
  EXPECT_TRUE(p.At(15, 95).Near(kGreen)) << ColourText(p.At(15, 95));

  EXPECT_EQ(lib_->DeleteImage(overlay, first), first);
  EXPECT_EQ(lib_->DeleteImage(overlay, first), -1);
  EXPECT_EQ(lib_->ModifyImage(overlay, second, knob, 60, 80), second);  // now a knob
  p = Pixels(window);
  EXPECT_TRUE(p.At(15, 15).Near(kBlue)) << ColourText(p.At(15, 15));
  EXPECT_TRUE(p.At(15, 95).Near(kBlue)) << ColourText(p.At(15, 95));
  EXPECT_TRUE(p.At(75, 95).Near(kRed)) << ColourText(p.At(75, 95));
  EXPECT_EQ(lib_->EndCalibration(overlay), 0);
}

// The text itself differs between systems: the checks count pixels of the text's colour in
// and around its box.
TEST_F(Overlay, TextIsDrawnInItsBoxAlsoWithAFontThatDoesNotExist) {
  void* overlay = Begin();
  HWND window = WindowOf("Lococab Calibration");
  std::string background = "background.png", knob = "knob.png", text = "WWWWW";
  std::string missingFont = "No Such Font Anywhere", font = "Arial";
  lib_->AddBackgroundAndControlImages(overlay, background, knob, 170, 0);
  const int id = lib_->AddTextBlock(overlay, text, 10, 40, 150, 40, 255, 0, 0, missingFont, 20);
  EXPECT_EQ(id, 0);
  ClientPixels p = Pixels(window);
  p.SavePng("qpad_calibration_text.png");
  EXPECT_GT(p.Count(10, 40, 160, 80, Reddish), 40);
  EXPECT_EQ(p.Count(0, 0, 170, 38, Reddish), 0);
  EXPECT_EQ(p.Count(0, 82, 150, 120, Reddish), 0);

  EXPECT_EQ(lib_->ModifyTextBlock(overlay, id, text, 10, 40, 150, 40, 0x20, 0xE0, 0x20, font, 20),
            id);
  p = Pixels(window);
  EXPECT_EQ(p.Count(10, 40, 160, 80, Reddish), 0);
  EXPECT_GT(p.Count(10, 40, 160, 80, Greenish), 40);
  EXPECT_EQ(lib_->DeleteTextBlock(overlay, id), id);
  EXPECT_EQ(lib_->DeleteTextBlock(overlay, id), -1);
  p = Pixels(window);
  EXPECT_EQ(p.Count(10, 40, 160, 80, Greenish), 0);
  EXPECT_EQ(lib_->EndCalibration(overlay), 0);
}

TEST_F(Overlay, ACloseRequestLeavesItOpenAndAWindowDestroyedElsewhereRetiresItsHandle) {
  void* overlay = Begin();
  HWND window = WindowOf("Lococab Calibration");
  ASSERT_NE(window, nullptr);
  SendMessageA(window, WM_CLOSE, 0, 0);  // as Alt+F4 would
  PumpMessages(20);
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(lib_->MoveControlImage(overlay, 1, 1), 1);

  DestroyWindow(window);
  EXPECT_EQ(lib_->MoveControlImage(overlay, 1, 1), 0);
  EXPECT_EQ(lib_->EndCalibration(overlay), 0);
  // A new overlay works as before.
  void* next = Begin("Other");
  ASSERT_NE(next, nullptr);
  EXPECT_NE(WindowOf("Other Calibration"), nullptr);
  EXPECT_EQ(lib_->EndCalibration(next), 0);
}

TEST_F(Overlay, UnloadingTheLibraryClosesItsOpenOverlays) {
  Begin("One");
  Begin("Two");
  HWND one = WindowOf("One Calibration"), two = WindowOf("Two Calibration");
  ASSERT_NE(one, nullptr);
  ASSERT_NE(two, nullptr);
  lib_->Unload();
  EXPECT_FALSE(IsWindow(one));
  EXPECT_FALSE(IsWindow(two));
  // Loaded again, it registers its window class anew.
  SetUp();
  void* again = Begin("Again");
  ASSERT_NE(again, nullptr);
  EXPECT_NE(WindowOf("Again Calibration"), nullptr);
  EXPECT_EQ(lib_->EndCalibration(again), 0);
}

}  // namespace
