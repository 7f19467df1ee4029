// The scripts the sample device types ship with are the script writer's own: the layout of
// each, written for its type as the program writes it, is the shipped file byte for byte, so
// that the programming window shows their macros and a first save keeps them.
// ORVANE_UPDATE_GOLDEN=1 writes the files anew into dist/ (look at the difference before
// committing it).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "macros/device_macro_device.h"
#include "macros/model/key_caps.h"
#include "macros/model/macro_context.h"
#include "macros/model/script_reader.h"
#include "macros/model/script_writer.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "tests/macros/model/golden_layouts.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

struct SampleScript {
  int productId;
  std::function<void(MacroContext&)> make;
};

// What README.md tells of the samples: the plain keypad's keys 0 to 3, the LED keypad blank.
const SampleScript kSamples[] = {
    {0x10,
     [](MacroContext& c) {
       Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/Hello from Orvane", L""}});
       Program(c, 1, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"<Return>", L""}});
       Program(c, 2, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"{Ctrl+a}", L""}});
       Program(c, 3, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/Qpad key 3", L""}});
     }},
    {0x19, [](MacroContext&) {}},
};

class SampleScripts : public ::testing::Test {
 protected:
  // The device type folders of dist/, as the program finds them beside itself.
  void SetUp() override {
    FreeDeviceFolders();
    SetDataRootFromHost("");
    InitProgramFolders("\"" + dist_ + "\\Orvane.exe\"");
  }
  void TearDown() override { FreeDeviceFolders(); }

  // The script of the layout as the writer writes it for a keypad of the type as it is attached:
  // its settings from the type's report configuration, its backlights lit (as they are switched
  // on for a keypad that no script has set yet).
  bool Written(const SampleScript& sample, std::string& bytes, std::string& shipped) {
    DeviceRecord record;
    if (!InitDeviceRecord(record, kVendorId, sample.productId, 0)) return false;
    DeviceRecordMacroDevice device(record);
    MacroContext c;
    c.device = &device;
    sample.make(c);
    DeviceScriptSettings settings = device.Settings();
    settings.backlightsOn = settings.backlightsAvailable;
    bytes = ScriptFileBytes(c, settings);
    std::string folder;
    GetDeviceFolderPath(record.folder, folder);
    shipped = folder + "\\" + kPlainScriptFileName;
    return true;
  }

  const std::string dist_ = EnvOr("ORVANE_DIST");
};

TEST_F(SampleScripts, AreWhatTheWriterWritesForTheirType) {
  ASSERT_FALSE(dist_.empty());
  const bool update = std::getenv("ORVANE_UPDATE_GOLDEN") != nullptr;
  for (const SampleScript& sample : kSamples) {
    SCOPED_TRACE(sample.productId);
    std::string bytes, path;
    ASSERT_TRUE(Written(sample, bytes, path));
    if (update) {
      ASSERT_TRUE(WriteTextFile(path, bytes));
    }
    EXPECT_EQ(ReadFileOr(path), bytes);
  }
}

// Read back, a sample holds its macros as steps: what the window labels and the editor opens.
TEST_F(SampleScripts, HoldTheirMacrosAsSteps) {
  DeviceRecord record;
  ASSERT_TRUE(InitDeviceRecord(record, kVendorId, 0x10, 0));
  DeviceRecordMacroDevice device(record);
  MacroContext c;
  c.device = &device;
  for (int key = 0; key < 4; ++key) {
    KeyRecord k;
    k.keyId = static_cast<std::uint8_t>(key);
    c.keys.push_back(k);
  }
  std::string folder;
  GetDeviceFolderPath(record.folder, folder);
  ReadScriptFile(c, folder + "\\" + kPlainScriptFileName);
  RebuildKeyCaps(c);
  // The labels, as the window draws them: typed text without its "/".
  const wchar_t* texts[] = {L"Hello from Orvane", L"<Return>", L"{Ctrl+a}", L"Qpad key 3"};
  for (int key = 0; key < 4; ++key) {
    ASSERT_EQ(c.keys[key].entries.size(), 1u) << key;
    const MacroEntry& e = c.keys[key].entries[0];
    EXPECT_EQ(e.event, KeyEvent::Down);
    EXPECT_EQ(GetKeyDownMacroText(c.keys[key].entries, LayerColour::Green, "Pnr"), texts[key]) << key;
  }
}

}  // namespace
