// The main dialog's decisions without its window: its commands, the tray icon's clicks, the
// clipboard viewer chain and a second start.
#include "app/main_dialog_controller.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "app/resource.h"
#include "app/tray_menu_ids.h"
#include "platform/base/registry_values.h"
#include "runtime/device/device_table.h"
#include "tests/platform/base/system_calls_recorder.h"

namespace {

// The recorder, with the machine's values kept here instead of the registry.
class MainCalls : public SystemCallsRecorder {
 public:
  bool WriteMachineValue(const std::string& key, const std::string& name, const RegistryValue& value) override {
    if (key == kOrvaneRegistryKey && name == "Invisible" && value.bytes.size() == sizeof(std::uint32_t))
      std::memcpy(&invisible.emplace(), value.bytes.data(), sizeof(std::uint32_t));
    return true;
  }
  std::optional<std::uint32_t> invisible;
};

class MainDialogDecisions : public ::testing::Test {
 protected:
  void SetUp() override { ClearSlot(); }
  void TearDown() override { ClearSlot(); }
  static void ClearSlot() {
    RequestCode = kRequestNone;
    RequestDevice = kNoRequestDevice;
  }

  MainCalls calls_;
};

TEST_F(MainDialogDecisions, CommandsAskForTheirActionsAndStoreTheVisibility) {
  struct Case {
    unsigned id;
    MainAction action;
    int trayIndex;
    std::optional<std::uint32_t> invisible;
  } cases[] = {
      {IDC_VISIBLE, MainAction::None, -1, 0},
      {IDM_VISIBLE, MainAction::None, -1, 0},
      {IDC_INVISIBLE, MainAction::None, -1, 1},
      {IDM_INVISIBLE, MainAction::None, -1, 1},
      {IDM_FORWARD_TO_MODELESS, MainAction::ForwardToModeless, -1, std::nullopt},
      {kTrayExitId, MainAction::Exit, -1, std::nullopt},
      {kTrayFirstDeviceId, MainAction::TrayDevice, 0, std::nullopt},
      {kTrayFirstDeviceId + 3, MainAction::TrayDevice, 3, std::nullopt},
      // The hidden dialog's own buttons and a dialog's OK and Cancel end nothing.
      {IDC_SCAN_FOR_DEVICES, MainAction::None, -1, std::nullopt},
      {IDOK, MainAction::None, -1, std::nullopt},
      {IDCANCEL, MainAction::None, -1, std::nullopt},
  };
  for (const Case& c : cases) {
    MainCalls calls;
    MainDialogController controller(calls, true);
    const MainCommand command = controller.OnCommand(c.id);
    EXPECT_EQ(command.action, c.action) << c.id;
    if (c.action == MainAction::TrayDevice) {
      EXPECT_EQ(command.trayIndex, c.trayIndex) << c.id;
    }
    EXPECT_EQ(calls.invisible, c.invisible) << c.id;
  }
}

TEST_F(MainDialogDecisions, EitherButtonsReleaseOpensTheTrayMenu) {
  const MainDialogController controller(calls_, true);
  EXPECT_TRUE(controller.OpensTrayMenu(TrayClick::LeftUp));
  EXPECT_TRUE(controller.OpensTrayMenu(TrayClick::RightUp));
  EXPECT_FALSE(controller.OpensTrayMenu(TrayClick::Other));
}

TEST_F(MainDialogDecisions, TheClipboardChainPassesNewsOnAndMendsItselfWhenAViewerLeaves) {
  MainDialogController controller(calls_, true);
  int a = 0, b = 0, c = 0;  // three windows after ours
  // Joining tells of the clipboard before the next viewer is known: nothing to pass on.
  EXPECT_EQ(controller.OnClipboardChanged(0), "1 00000000");
  EXPECT_EQ(controller.NextViewer(), nullptr);
  controller.JoinedViewerChain(&a);
  EXPECT_EQ(controller.OnClipboardChanged(0xC0DE), "2 0000c0de");
  EXPECT_EQ(controller.NextViewer(), &a);

  // A viewer further down left: the news goes on, and ours keeps its next.
  EXPECT_EQ(controller.OnViewerLeft(&b, &c), &a);
  EXPECT_EQ(controller.NextViewer(), &a);
  // Ours was the one before it: its next takes the gap, and the news ends here.
  EXPECT_EQ(controller.OnViewerLeft(&a, &c), nullptr);
  EXPECT_EQ(controller.NextViewer(), &c);
  EXPECT_EQ(controller.OnViewerLeft(&c, nullptr), nullptr);
  EXPECT_EQ(controller.NextViewer(), nullptr);
  EXPECT_EQ(controller.OnViewerLeft(&b, &c), nullptr);  // nobody after ours to tell
}

TEST_F(MainDialogDecisions, ASecondStartAsksForTheScriptLoaderOnlyInClientMode) {
  MainDialogController normal(calls_, true);
  RequestDevice = 7;
  normal.OnSecondInstance();
  EXPECT_EQ(RequestCode, kRequestNone);
  EXPECT_EQ(RequestDevice, 7);

  MainDialogController client(calls_, false);
  client.OnSecondInstance();
  EXPECT_EQ(RequestCode, kRequestScriptLoader);
  EXPECT_EQ(RequestDevice, kNoRequestDevice);  // the loader then offers every device
  EXPECT_EQ(calls_.Events(), "");
}

TEST_F(MainDialogDecisions, ASecondStartTellsWhenTheSlotStaysBusy) {
  MainDialogController client(calls_, false);
  RequestCode = kRequestProgram;
  RequestDevice = 7;
  client.OnSecondInstance();
  std::string tries;
  for (int i = 0; i < 40; ++i) tries += "sleep 250 / ";
  EXPECT_EQ(calls_.Events(), tries +
                                 "box 0x0 \"Script Loader Unable to Run\" \"ORVX was too busy at the moment "
                                 "to run the Script Loader.  Please try again.\" Ok");
  EXPECT_EQ(RequestCode, kRequestProgram);
  EXPECT_EQ(RequestDevice, 7);
}

}  // namespace
