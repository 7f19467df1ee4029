// The two programs agree on the cab controller: the calibration file that the calibration
// program writes through the real platform, into the folder an installer registered, is what
// the main program's GetCalibratedValue reads back. The programs share no code; this test links
// both.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "calibration/calibration_files.h"
#include "calibration/language_texts.h"
#include "calibration/positions.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/functions/device_values.h"
#include "tests/calibration/machine_default_value.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

// A calibration whose every maximum is different, so that a reader that counts the wrong line
// reads the wrong number.
cal::Ranges DistinctRanges() {
  cal::Ranges r;
  for (int p = 0; p < cal::kPositionCount; ++p) r[p] = {10 + p, 200 + p};
  return r;
}

// The position whose maximum the reader finds on the n-th "Max" line (from 1).
int PositionOfMaxLine(int n) {
  if (n <= 14) return n - 1;
  if (n == 15) return cal::kBailOffReleased;
  if (n == 16) return cal::kBailOffFull;
  return n - 3;
}

// The folder's name as it is stored (listing a folder gives the stored case, whatever case the
// lookup used).
std::string StoredName(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(path.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  FindClose(h);
  return found.cFileName;
}

class BothPrograms : public ::testing::Test {
 protected:
  void SetUp() override {
    // The main program installed with the sample cab controller's folder, and the calibration
    // program in a folder of its own.
    const std::string type = std::string(cal::kCabDeviceFolder).substr(1);
    ASSERT_TRUE(CopyTree(EnvOr("ORVANE_BIN") + "\\" + type, mainProgram_ + "\\" + type));
    ASSERT_TRUE(MakeDirs(calibrationProgram_ + "\\controller"));
    FreeDeviceFolders();
    SetDataRootFromHost("");
  }
  void TearDown() override {
    SetCurrentDevice(nullptr);
    FreeDeviceFolders();
  }
  // The main program started from its folder, with the cab controller as its current device.
  void StartMainProgram() {
    InitProgramFolders("\"" + mainProgram_ + "\\Orvane.exe\"");
    ASSERT_TRUE(InitDeviceRecord(device_, cal::kCabVendorId, cal::kCabProductId, 0));
    SetCurrentDevice(&device_);
  }

  ScratchDir dir_{"both"};
  const std::string mainProgram_ = dir_ / "Orvane";
  const std::string calibrationProgram_ = dir_ / "Lococab";
  DeviceRecord device_;
};

TEST_F(BothPrograms, TheMainProgramReadsEveryMaximumTheCalibrationProgramWrote) {
  MachineDefaultValue installed(cal::kMainProgramKey, mainProgram_);
  ASSERT_TRUE(installed.ok());
  cal::CalibrationResult result;
  result.ranges = DistinctRanges();
  for (int p = 0; p < cal::kPositionCount; ++p)
    result.leverNames[p] = cal::EnglishDefault(cal::Position(p).leverKey);
  cal::WriteCalibrationFiles(calibrationProgram_, result, vcl::PlatformSystem());

  StartMainProgram();
  // Both name one folder, letter for letter.
  ASSERT_EQ(device_.folder->defaultFolder, mainProgram_ + cal::kCabDeviceFolder);
  SystemCallsRecorder calls;
  for (int n = 1; n <= cal::kPositionCount; ++n)
    EXPECT_EQ(GetCalibratedValue(calls, n), result.ranges[PositionOfMaxLine(n)].max) << "Max line " << n;
  EXPECT_EQ(GetCalibratedValue(calls, cal::kPositionCount + 1), -1);
  EXPECT_EQ(calls.Events(), "");
}

TEST_F(BothPrograms, AValueNamingAnotherFolderLeavesTheMainProgramWithoutCalibration) {
  MachineDefaultValue elsewhere(cal::kMainProgramKey, dir_ / "NotInstalledHere");
  ASSERT_TRUE(elsewhere.ok());
  cal::WriteCalibrationFiles(calibrationProgram_, cal::CalibrationResult{}, vcl::PlatformSystem());
  EXPECT_FALSE(DirExists(dir_ / "NotInstalledHere"));  // the folder is never created

  StartMainProgram();
  SystemCallsRecorder calls;
  EXPECT_EQ(GetCalibratedValue(calls, 1), -1);
  EXPECT_NE(calls.Events().find("Your calibration file could not be located."), std::string::npos);
}

// The sample folder as the build ships it: spelt as both programs spell it, and its report
// configuration reads the bytes that the wizard calibrates.
TEST_F(BothPrograms, TheSampleControllerIsTheTypeTheWizardCalibrates) {
  const std::string shipped = EnvOr("ORVANE_BIN") + cal::kCabDeviceFolder;
  EXPECT_EQ("\\QpadDevices\\" + StoredName(shipped), cal::kCabDeviceFolder);

  StartMainProgram();
  constexpr int kReportLength = 16;  // the wizard reads up to byte 14
  ASSERT_TRUE(SetUpDeviceReports(device_, kReportLength, 9));
  std::vector<int> levers, rotaries;
  for (const InputConfig& in : device_.inputs) {
    std::vector<int>* into = in.declaration.find(" LeverInput(") != std::string::npos    ? &levers
                             : in.declaration.find(" RotaryInput(") != std::string::npos ? &rotaries
                                                                                         : nullptr;
    if (into)
      for (const InputField& f : in.fields) into->push_back(f.position);
  }
  // Reverser, throttle, automatic brake, independent brake, bail-off; the two rotary switches.
  using cal::Position;
  EXPECT_EQ(levers, (std::vector<int>{Position(0).reportByte, Position(3).reportByte, Position(7).reportByte,
                                      Position(10).reportByte, Position(11).reportByte}));
  EXPECT_EQ(rotaries, (std::vector<int>{Position(14).reportByte, Position(17).reportByte}));
  // The unit id is a byte of its own: neither a calibrated one nor the build mark.
  for (int p = 0; p < cal::kPositionCount; ++p) EXPECT_NE(device_.unitIdByte, Position(p).reportByte) << p;
  EXPECT_NE(device_.unitIdByte, cal::kVariantByte);
  EXPECT_FALSE(device_.hasProgrammingSwitch);
}

}  // namespace
