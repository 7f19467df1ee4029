// The keypad view painted into its canvas (GDI+ on a bitmap, no window): the sample LED keypad
// in both colour layers, its keys' states, and the labels.
#include "ui/programming_window/keypad_painter.h"

#include <gtest/gtest.h>

#include <memory>

#include "macros/device_macro_device.h"
#include "macros/gdiplus_view_images.h"
#include "macros/model/layout_file.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

class Painter : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdiplus_.Ok());
    InitProgramFolders("\"" + EnvOr("ORVANE_BIN") + "\\Orvane.exe\"");
    record_.folder = FindDeviceFolder(kVendorId, 0x19, 0);
    ASSERT_NE(record_.folder, nullptr);
    device_ = std::make_unique<DeviceRecordMacroDevice>(record_);
    c_.device = device_.get();
    GdiplusImageLoader loader;
    ASSERT_TRUE(LoadLayoutFile(c_, loader));
    painter_ = std::make_unique<KeypadPainter>();
  }
  void TearDown() override {
    painter_.reset();
    FreeViewImages(c_.view);
    c_.keys.clear();
    FreeDeviceFolders();
  }

  GdiplusCanvas& Canvas() { return *static_cast<GdiplusCanvas*>(c_.view.canvas.get()); }
  Gdiplus::ARGB At(int x, int y) {
    Gdiplus::Color color;
    Canvas().Bitmap().GetPixel(x, y, &color);
    return color.GetValue();
  }
  static Gdiplus::ARGB PixelOf(Gdiplus::Bitmap& bitmap, int x, int y) {
    Gdiplus::Color color;
    bitmap.GetPixel(x, y, &color);
    return color.GetValue();
  }
  Gdiplus::ARGB BackgroundAt(int x, int y) { return PixelOf(Canvas().Background(), x, y); }
  Gdiplus::ARGB TableAt(int row, int state, int x, int y) {
    return PixelOf(static_cast<GdiplusImage*>(c_.view.table[row][state].get())->Bitmap(), x, y);
  }
  // Pixels of a rectangle for which the test holds.
  template <class Test>
  int Count(const RectF& r, Test test) {
    int n = 0;
    for (int y = static_cast<int>(r.y); y < static_cast<int>(r.y + r.h); ++y)
      for (int x = static_cast<int>(r.x); x < static_cast<int>(r.x + r.w); ++x) {
        const Gdiplus::Color color(At(x, y));
        if (test(color)) ++n;
      }
    return n;
  }
  static bool Dark(const Gdiplus::Color& c) { return c.GetR() < 90 && c.GetG() < 90 && c.GetB() < 90; }
  void GiveMacro(int index, const wchar_t* text) {
    MacroEntry e;
    e.event = KeyEvent::Down;
    e.colour = LayerColour::Green;
    e.program = "Pnr";
    ParseMacroStep(e, 0, text, L"");
    c_.keys[index].entries.push_back(e);
  }

  GdiplusSession gdiplus_;
  DeviceRecord record_;
  std::unique_ptr<DeviceRecordMacroDevice> device_;
  MacroContext c_;
  std::unique_ptr<KeypadPainter> painter_;
};

TEST_F(Painter, TheIndicatorOfTheLayerShownIsLit) {
  const int gx = 178 + 8, gy = 16 + 8, rx = 206 + 8, ry = 16 + 8;
  ASSERT_TRUE(painter_->Paint(c_, false));
  EXPECT_EQ(At(gx, gy), TableAt(kGreenLedRow, kStateNormal, 8, 8));
  EXPECT_EQ(At(rx, ry), BackgroundAt(rx, ry));
  ASSERT_TRUE(painter_->Paint(c_, true));
  EXPECT_EQ(At(gx, gy), BackgroundAt(gx, gy));
  EXPECT_EQ(At(rx, ry), TableAt(kRedLedRow, kStateNormal, 8, 8));
  // A LED under the mouse shows its state over whatever is lit.
  c_.leds[0].state = kStateOver;
  painter_->Paint(c_, true);
  EXPECT_EQ(At(gx, gy), TableAt(kGreenLedRow, kStateOver, 8, 8));
}

TEST_F(Painter, KeysInTheirStateAndColour) {
  // Key 0 at (20, 45), 60 by 60; its centre.
  const int x = 50, y = 75;
  const struct {
    bool red;
    int state;
    int row;
  } cases[] = {{false, kStateNormal, kGreenKeyRow}, {false, kStateOver, kGreenKeyRow},
               {false, kStatePressed, kGreenKeyRow}, {true, kStateNormal, kRedKeyRow},
               {true, kStatePressed, kRedKeyRow}};
  for (const auto& t : cases) {
    c_.keys[0].state = t.state;
    painter_->Paint(c_, t.red);
    EXPECT_EQ(At(x, y), TableAt(t.row, t.state, 30, 30)) << t.red << " " << t.state;
  }
  EXPECT_NE(TableAt(kGreenKeyRow, kStateNormal, 30, 30), TableAt(kGreenKeyRow, kStateOver, 30, 30));
  EXPECT_NE(TableAt(kGreenKeyRow, kStateNormal, 30, 30), TableAt(kRedKeyRow, kStateNormal, 30, 30));
}

TEST_F(Painter, LabelsShowTheKeyDownMacroOfTheLayerShown) {
  EXPECT_FALSE(painter_->FontFamilyName().empty());
  const RectF label = c_.keys[1].label;
  ASSERT_FALSE(label.Empty());
  painter_->Paint(c_, false);
  const int before = Count(label, Dark);
  GiveMacro(1, L"/Hello");
  painter_->Paint(c_, false);
  EXPECT_GT(Count(label, Dark), before + 10);
  // The red layer has no macro for the key.
  painter_->Paint(c_, true);
  EXPECT_LE(Count(label, Dark), before + 2);

  // Toggle and shift keys name their part in the layer's colour.
  c_.toggleKeys.insert(c_.keys[2].keyId);
  auto greenish = [](const Gdiplus::Color& c) { return c.GetG() > c.GetR() + 60 && c.GetG() > c.GetB() + 60; };
  auto reddish = [](const Gdiplus::Color& c) { return c.GetR() > c.GetG() + 60 && c.GetR() > c.GetB() + 60; };
  painter_->Paint(c_, false);
  const int greenBefore = Count(c_.keys[3].label, greenish);
  EXPECT_GT(Count(c_.keys[2].label, greenish), greenBefore + 10);
  painter_->Paint(c_, true);
  EXPECT_GT(Count(c_.keys[2].label, reddish), Count(c_.keys[3].label, reddish) + 10);
}

TEST_F(Painter, AMissingFontFamilyFallsBackToASansSerifOne) {
  const auto named = FindLabelFontFamily(kLabelFontFamily);
  ASSERT_NE(named, nullptr);
  const auto fallback = FindLabelFontFamily(L"No Such Family Anywhere");
  ASSERT_NE(fallback, nullptr);
  WCHAR name[LF_FACESIZE] = L"";
  fallback->GetFamilyName(name);
  EXPECT_NE(std::wstring(name), L"No Such Family Anywhere");
}

TEST_F(Painter, AKeyWithoutALabelPlaceDrawsNoText) {
  painter_->Paint(c_, false);
  const RectF corner{0, 0, 60, 16};
  const int before = Count(corner, Dark);
  KeyRecord k;
  k.keyId = 200;
  k.key = {300, 200, 0, 0};
  c_.keys.push_back(k);
  GiveMacro(static_cast<int>(c_.keys.size()) - 1, L"/Hello there");
  painter_->Paint(c_, false);
  EXPECT_EQ(Count(corner, Dark), before);
}

}  // namespace
