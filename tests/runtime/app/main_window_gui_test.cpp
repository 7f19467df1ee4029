// The main dialog and its loop, run in this process on a thread of their own.
#include "runtime/app/main_window.h"

#include <gtest/gtest.h>

#include <thread>

#include "runtime/app/dialogs/about_dialog.h"
#include "runtime/service/device_thread.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

class MainLoop : public ::testing::Test {
 protected:
  void Run(bool programmingAllowed) {
    RequestCode = kRequestNone;
    RequestDevice = 0;
    loop_ = std::thread([this, programmingAllowed] { result_ = RunMainLoop(programmingAllowed); });
    ASSERT_TRUE(WaitUntil([] { return GetOrvaneHWND() != nullptr; }, 10000));
    main_ = GetOrvaneHWND();
  }
  void TearDown() override {
    if (loop_.joinable()) {
      PostMessageA(main_, WM_COMMAND, 32851, 0);
      loop_.join();
      EXPECT_EQ(result_, 0);
    }
    RequestCode = kRequestNone;
  }

  std::thread loop_;
  int result_ = -1;
  HWND main_ = nullptr;
};

TEST_F(MainLoop, TheMainDialogIsHiddenAndTheExportsGiveIt) {
  Run(true);
  EXPECT_EQ(ClassName(main_), "OrvaneII_Class");
  EXPECT_FALSE(IsWindowVisible(main_));
  EXPECT_EQ(GetHInstOrvane(), nullptr);  // only WinMain stores the instance
}

TEST_F(MainLoop, NormalModeIgnoresASecondInstance) {
  Run(true);
  SendMessageA(main_, 1027, 0, 0);
  EXPECT_EQ(RequestCode, kRequestNone);
}

TEST_F(MainLoop, ClientModeAsksForTheScriptLoaderWithoutADevice) {
  Run(false);
  SendMessageA(main_, 1027, 0, 0);
  EXPECT_EQ(RequestCode, kRequestScriptLoader);
  EXPECT_EQ(RequestDevice, kNoRequestDevice);  // never a stale device from an earlier request
}

TEST_F(MainLoop, ClientModeTellsWhenTheSlotStaysBusy) {
  Run(false);
  RequestCode = kRequestProgram;
  PostMessageA(main_, 1027, 0, 0);
  // 40 tries 250 ms apart, then the message.
  HWND box = WaitForProcessWindow(GetCurrentProcessId(), "Script Loader Unable to Run", 20000);
  ASSERT_NE(box, nullptr);
  EXPECT_NE(FindChildByText(box, "Static",
                            "ORVX was too busy at the moment to run the Script Loader.  Please try again."),
            nullptr);
  EXPECT_EQ(RequestCode, kRequestProgram);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
}

TEST(AboutDialog, ShowsTheProductIdInHex) {
  SetAboutProductId(0x1a);
  HWND dialog = nullptr;
  std::string shown;
  std::thread closer([&] {
    dialog = WaitForProcessWindow(GetCurrentProcessId(), "About", 10000);
    if (!dialog) return;
    shown = WindowText(GetDlgItem(dialog, 1053));
    SavePicture(dialog, "about_dialog");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  const INT_PTR result = ShowAboutDialog(nullptr);
  closer.join();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(shown, "01A");
  EXPECT_EQ(result, IDOK);
}

}  // namespace
