// The sample device types' layouts and pictures, read through the device folders and decoded
// by GDI+ (no display needed).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "macros/device_macro_device.h"
#include "macros/gdiplus_view_images.h"
#include "macros/model/layout_file.h"
#include "macros/model/macro_context.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

class SamplePictures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdiplus_.Ok());
    InitProgramFolders("\"" + EnvOr("ORVANE_BIN") + "\\Orvane.exe\"");
  }
  void TearDown() override { FreeDeviceFolders(); }

  // Loads the sample device type's layout; its key ids in record order.
  std::string Load(int productId, MacroContext& context, DeviceRecord& record) {
    record.folder = FindDeviceFolder(kVendorId, productId, 0);
    EXPECT_NE(record.folder, nullptr);
    device_ = std::make_unique<DeviceRecordMacroDevice>(record);
    context.device = device_.get();
    EXPECT_TRUE(LoadLayoutFile(context, loader_));
    std::string ids;
    for (const KeyRecord& k : context.keys) ids += std::to_string(k.keyId) + " ";
    return ids;
  }

  GdiplusSession gdiplus_;
  GdiplusImageLoader loader_;
  std::unique_ptr<DeviceRecordMacroDevice> device_;
};

TEST_F(SamplePictures, TheLedKeypad) {
  MacroContext c;
  DeviceRecord record;
  EXPECT_EQ(Load(0x19, c, record),
            "0 1 2 3 4 5 6 7 16 17 18 19 20 21 22 23 32 33 34 35 36 37 38 39 ");
  EXPECT_EQ(c.view.canvasWidth, 400);
  EXPECT_EQ(c.view.canvasHeight, 310);
  ASSERT_EQ(c.leds.size(), 2u);
  EXPECT_EQ(c.leds[0].w, 16);
  EXPECT_TRUE(c.leds[1].red);
  // Six keys of 60 a row, without a gap: key caps fit.
  EXPECT_EQ(c.keys[1].key.x - c.keys[0].key.x, 60);
  EXPECT_EQ(c.keys[6].key.y - c.keys[0].key.y, 60);
  EXPECT_TRUE(c.keys[23].key.x + c.keys[23].key.w <= c.view.canvasWidth);
  EXPECT_TRUE(c.keys[23].key.y + c.keys[23].key.h <= c.view.canvasHeight);
  for (const auto& row : c.view.table)
    for (const auto& image : row) {
      ASSERT_NE(image, nullptr);
      EXPECT_NE(static_cast<GdiplusImage*>(image.get())->Cached(), nullptr);
    }
  EXPECT_NE(c.view.lock, nullptr);
  EXPECT_TRUE(c.imagesFolder.ends_with(L"\\Button Images\\"));
}

TEST_F(SamplePictures, ThePlainKeypadAndEveryKeyCapPicture) {
  MacroContext c;
  DeviceRecord record;
  EXPECT_EQ(Load(0x10, c, record), "0 1 2 3 4 5 6 7 16 17 18 19 ");
  EXPECT_TRUE(c.leds.empty());
  EXPECT_EQ(c.view.canvasWidth, 280);
  for (const char* cap : {"2Wide", "2Tall", "Quad"})
    for (const char* state : {"Key", "GreenOver", "GreenPressed", "RedOver", "RedPressed"}) {
      const std::wstring path = c.imagesFolder + std::wstring(cap, cap + strlen(cap)) +
                                std::wstring(state, state + strlen(state)) + L".png";
      EXPECT_NE(loader_.LoadImage(path, c.view.canvas.get()), nullptr) << cap << state;
    }
  std::wstring spacer;
  ASSERT_TRUE(ResolveButtonImagePath(record.folder, "", "KeySpacer.png", spacer));
  auto image = loader_.LoadImage(spacer, nullptr);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 60);
  EXPECT_EQ(loader_.LoadImage(c.imagesFolder + L"NoSuch.png", nullptr), nullptr);
}

// The desktop keypad: its setup wizard ends with "Throw the programming switch up and click on
// any key", so its window must open as shipped. One key byte a row of five.
TEST_F(SamplePictures, TheDesktopKeypad) {
  MacroContext c;
  DeviceRecord record;
  EXPECT_EQ(Load(0x28, c, record), "0 1 2 3 4 16 17 18 19 20 32 33 34 35 36 48 49 50 51 52 ");
  EXPECT_TRUE(c.leds.empty());
  EXPECT_EQ(c.view.canvasWidth, 340);
  EXPECT_EQ(c.view.canvasHeight, 290);
  EXPECT_TRUE(c.keys[19].key.x + c.keys[19].key.w <= c.view.canvasWidth);
  EXPECT_TRUE(c.keys[19].key.y + c.keys[19].key.h <= c.view.canvasHeight);
  EXPECT_NE(c.view.lock, nullptr);
}

}  // namespace
