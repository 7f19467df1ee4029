// The main dialog and its loop, run in this process on a thread of their own.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "app/dialogs/about_dialog.h"
#include "app/resource.h"
#include "runtime/service/device_thread.h"
#include "tests/platform/base/system_calls_recorder.h"
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
      PostMessageA(main_, WM_COMMAND, IDM_EXIT, 0);
      loop_.join();
      EXPECT_EQ(result_, 0);
    }
    RequestCode = kRequestNone;
  }

  // Outlives the loop, which may call through it until TearDown has joined it.
  std::unique_ptr<RecordedSystemCalls> calls_;
  std::thread loop_;
  int result_ = -1;
  HWND main_ = nullptr;
};

TEST_F(MainLoop, TheMainDialogIsHiddenAndTheExportsGiveIt) {
  Run(true);
  EXPECT_EQ(ClassName(main_), kMainWindowClass);
  EXPECT_FALSE(IsWindowVisible(main_));
  EXPECT_EQ(GetHInstOrvane(), nullptr);  // only WinMain stores the instance
}

TEST_F(MainLoop, CloseEndsTheLoopAtOnceAndADialogsCancelDoesNot) {
  Run(true);
  // The dialog's keys and buttons of a dialog end nothing: it stays until Exit or Close.
  SendMessageA(main_, WM_COMMAND, IDCANCEL, 0);
  SendMessageA(main_, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(IsWindow(main_));
  SendMessageA(main_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(main_));  // gone before the message returns, not on a posted Cancel
  if (IsWindow(main_)) PostMessageA(main_, WM_COMMAND, IDM_EXIT, 0);  // so that the loop ends
  loop_.join();
  EXPECT_EQ(result_, 0);
  EXPECT_EQ(GetOrvaneHWND(), nullptr);
}

TEST_F(MainLoop, NormalModeIgnoresASecondInstance) {
  Run(true);
  SendMessageA(main_, kSecondInstanceMessage, 0, 0);
  EXPECT_EQ(RequestCode, kRequestNone);
}

TEST_F(MainLoop, ClientModeAsksForTheScriptLoaderWithoutADevice) {
  Run(false);
  SendMessageA(main_, kSecondInstanceMessage, 0, 0);
  EXPECT_EQ(RequestCode, kRequestScriptLoader);
  EXPECT_EQ(RequestDevice, kNoRequestDevice);  // never a stale device from an earlier request
}

TEST_F(MainLoop, ClientModeTellsWhenTheSlotStaysBusy) {
  calls_ = std::make_unique<RecordedSystemCalls>();
  Run(false);
  RequestCode = kRequestProgram;
  SendMessageA(main_, kSecondInstanceMessage, 0, 0);
  // 40 tries 250 ms apart, then the message.
  std::string tries;
  for (int i = 0; i < 40; ++i) tries += "sleep 250 / ";
  EXPECT_EQ(calls_->Events(), tries +
                                  "box 0x0 \"Script Loader Unable to Run\" \"ORVX was too busy at "
                                  "the moment to run the Script Loader.  Please try again.\" Ok");
  EXPECT_EQ(RequestCode, kRequestProgram);
}

TEST(AboutDialog, ShowsTheProductIdInHex) {
  SetAboutProductId(0x1a);
  HWND dialog = nullptr;
  std::string shown;
  std::thread closer([&] {
    dialog = WaitForProcessWindow(GetCurrentProcessId(), "About", 10000);
    if (!dialog) return;
    shown = WindowText(GetDlgItem(dialog, IDC_ABOUT_PRODUCT_ID));
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
