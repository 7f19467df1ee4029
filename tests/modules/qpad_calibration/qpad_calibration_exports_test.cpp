// The library's exports without a window: names, and handles that name no open overlay.
#include "tests/modules/qpad_calibration/qpad_calibration_library.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "tests/support/scratch_dir.h"

using namespace qpadcaltest;

namespace {

class Exports : public ::testing::Test {
 protected:
  void SetUp() override {
    lib_ = std::make_unique<QpadCalibrationLibrary>(testsupport::EnvOr("ORVANE_BIN") +
                                                    "\\QpadCalibration.dll");
    ASSERT_TRUE(lib_->ok()) << "missing: " << lib_->missing();
  }
  // Every export but BeginCalibration with this handle, results joined by ",".
  std::string CallAll(Overlay handle) {
    std::string file = "knob.png", text = "text", font = "Arial";
    const int results[] = {
        lib_->AddBackgroundAndControlImages(handle, file, file, 1, 2),
        lib_->MoveControlImage(handle, 3, 4),
        lib_->AddImage(handle, file, 5, 6),
        lib_->ModifyImage(handle, 7, file, 8, 9),
        lib_->DeleteImage(handle, 10),
        lib_->AddTextBlock(handle, text, 1, 2, 3, 4, 5, 6, 7, font, 8),
        lib_->ModifyTextBlock(handle, 9, text, 1, 2, 3, 4, 5, 6, 7, font, 8),
        lib_->DeleteTextBlock(handle, 11),
        lib_->EndCalibration(handle),
    };
    std::string out;
    for (int r : results) out += (out.empty() ? "" : ",") + std::to_string(r);
    return out;
  }
  std::unique_ptr<QpadCalibrationLibrary> lib_;
};

TEST_F(Exports, ANullOverlayGivesZeroEverywhere) {
  EXPECT_EQ(CallAll(nullptr), "0,0,0,0,0,0,0,0,0");
}

// A handle that was never returned (or no longer names an open overlay) must not be used as
// an overlay: the memory it points at stays as it is.
TEST_F(Exports, AHandleThatIsNoOpenOverlayIsRefusedWithoutTouchingIt) {
  std::array<unsigned char, 512> memory;
  memory.fill(0xAB);
  EXPECT_EQ(CallAll(memory.data()), "0,0,0,0,0,0,0,0,0");
  for (unsigned char byte : memory) ASSERT_EQ(byte, 0xAB);
  EXPECT_EQ(CallAll(reinterpret_cast<Overlay>(static_cast<std::uintptr_t>(0x10))),
            "0,0,0,0,0,0,0,0,0");
}

}  // namespace
