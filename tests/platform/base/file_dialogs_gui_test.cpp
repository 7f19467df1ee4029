// The platform's own file dialogs as the seam opens them: where they start, and what OK gives.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "platform/base/system_calls.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

constexpr char kTitle[] = "Pick a layout";

// Reads the dialog's file name box, then presses OK; Cancel when OK did not end it, so that a
// failure never leaves the test waiting.
class OpenDialogAnswer {
 public:
  OpenDialogAnswer() {
    thread_ = std::thread([this] {
      const HWND dialog = WaitForProcessWindow(GetCurrentProcessId(), kTitle, 10000);
      if (!dialog) return;
      shown_ = WindowText(FileDialogNameBox(dialog));
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      for (int i = 0; i < 300 && IsWindow(dialog); ++i) Sleep(10);
      if (IsWindow(dialog)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
  }
  ~OpenDialogAnswer() { Join(); }
  OpenDialogAnswer(const OpenDialogAnswer&) = delete;
  OpenDialogAnswer& operator=(const OpenDialogAnswer&) = delete;
  const std::string& Shown() {
    Join();
    return shown_;
  }

 private:
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  std::thread thread_;
  std::string shown_;
};

OpenFileQuestion LayoutQuestion(const std::string& folder) {
  OpenFileQuestion q;
  q.title = kTitle;
  q.filterName = "Layout Files";
  q.filterPattern = "*.kll";
  q.initialFolder = folder;
  return q;
}

TEST(FileDialogs, TheOpenDialogStartsOnItsInitialFile) {
  ScratchDir dir("dialogs");
  ASSERT_TRUE(WriteTextFile(dir / "other.kll", ""));
  ASSERT_TRUE(WriteTextFile(dir / "layout.kll", ""));
  OpenFileQuestion q = LayoutQuestion(dir.path());
  q.initialFile = dir / "layout.kll";
  OpenDialogAnswer answer;
  const std::optional<std::string> chosen = GetSystemCalls().ChooseFileToOpen(q);
  EXPECT_NE(answer.Shown().find("layout.kll"), std::string::npos) << answer.Shown();
  ASSERT_TRUE(chosen);
  std::string got = *chosen, wanted = dir / "layout.kll";
  CharLowerA(got.data());
  CharLowerA(wanted.data());
  EXPECT_EQ(got, wanted);
}

TEST(FileDialogs, WithoutAnInitialFileOkChoosesNothing) {
  ScratchDir dir("dialogs");
  ASSERT_TRUE(WriteTextFile(dir / "layout.kll", ""));
  OpenDialogAnswer answer;
  EXPECT_FALSE(GetSystemCalls().ChooseFileToOpen(LayoutQuestion(dir.path())));
  EXPECT_EQ(answer.Shown(), "");
}

}  // namespace
