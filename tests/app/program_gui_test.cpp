// The real Orvane.exe, started from a program folder of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/base/registry_values.h"
#include "app/main_window.h"
#include "app/resource.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string bin = EnvOr("ORVANE_BIN");
    ASSERT_FALSE(bin.empty());
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((bin + "\\*.dll").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do CopyFileA((bin + "\\" + fd.cFileName).c_str(), (dir_ / fd.cFileName).c_str(), FALSE);
      while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    ASSERT_TRUE(CopyFileA((bin + "\\Orvane.exe").c_str(), exe().c_str(), FALSE));
  }

  std::string exe() const { return dir_ / "Orvane.exe"; }

  // Starts the program and waits for its hidden main dialog.
  HWND Start(ChildProcess& p, const std::string& args = "") {
    if (!p.Start("\"" + exe() + "\"" + (args.empty() ? "" : " " + args), dir_.path())) return nullptr;
    HWND found = nullptr;
    WaitUntil([&] {
      HWND w = FindWindowA(kMainWindowClass, nullptr);
      DWORD pid = 0;
      if (w) GetWindowThreadProcessId(w, &pid);
      // The dialog's controls come after its window: wait for the last of them.
      if (pid == p.Id() && FindChildById(w, IDC_VISIBLE)) found = w;
      return found != nullptr;
    }, 20000);
    return found;
  }

  void Exit(ChildProcess& p, HWND main) {
    PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_TRUE(p.Wait(15000));
    EXPECT_EQ(p.ExitCode(), 0u);
  }

  ScratchDir dir_{"prog"};
};

TEST_F(Program, StartsHiddenWithItsFoldersAndExitsCleanly) {
  ChildProcess p;
  HWND main = Start(p);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(main), "Qpad Test Program");
  EXPECT_FALSE(IsWindowVisible(main));  // also without a tray under a plain display
  EXPECT_NE(FindChildById(main, IDC_SCAN_FOR_DEVICES), nullptr);
  EXPECT_TRUE(WaitUntil([&] { return DirExists(dir_ / "QpadDevices"); }, 5000));
  Exit(p, main);
  EXPECT_EQ(FindWindowA(kMainWindowClass, nullptr), nullptr);
}

LRESULT CALLBACK SpyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kSecondInstanceMessage) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 1);
  return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST_F(Program, ASecondInstancePostsToTheFirstAndEndsAtOnce) {
  // This process plays the running instance: it holds the mutex and the window class.
  HANDLE mutex = CreateMutexA(nullptr, TRUE, kRunOnceMutexName);
  ASSERT_NE(mutex, nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = SpyProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kMainWindowClass;
  RegisterClassA(&wc);
  HWND spy = CreateWindowA(kMainWindowClass, "", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(spy, nullptr);

  ChildProcess second;
  ASSERT_TRUE(second.Start("\"" + exe() + "\""));
  EXPECT_TRUE(second.Wait(10000));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_TRUE(WaitUntil([&] { return GetWindowLongPtrA(spy, GWLP_USERDATA) == 1; }, 3000));

  DestroyWindow(spy);
  UnregisterClassA(kMainWindowClass, wc.hInstance);
  CloseHandle(mutex);
}

TEST_F(Program, ASecondStartLeavesTheFirstRunning) {
  ChildProcess first;
  HWND main = Start(first);
  ASSERT_NE(main, nullptr);
  ChildProcess second;
  ASSERT_TRUE(second.Start("\"" + exe() + "\""));
  EXPECT_TRUE(second.Wait(10000));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_FALSE(first.Wait(300));  // normal mode ignores the request
  Exit(first, main);
}

TEST_F(Program, VisibleAndInvisibleLandInTheMachineKey) {
  ChildProcess p;
  HWND main = Start(p);
  ASSERT_NE(main, nullptr);
  const struct {
    WPARAM command;
    std::uint32_t stored;
  } cases[] = {{IDC_INVISIBLE, 1}, {IDC_VISIBLE, 0}, {IDM_INVISIBLE, 1}, {IDM_VISIBLE, 0}};
  for (const auto& c : cases) {
    WriteMachineDword(kOrvaneRegistryKey, "Invisible", 7);
    SendMessageA(main, WM_COMMAND, c.command, 0);
    EXPECT_EQ(ReadMachineDword(kOrvaneRegistryKey, "Invisible"), c.stored) << c.command;
  }
  Exit(p, main);
}

TEST_F(Program, CountsClipboardChangesOfOtherPrograms) {
  ChildProcess p;
  HWND main = Start(p);
  ASSERT_NE(main, nullptr);
  HWND counter = FindChildById(main, IDC_CLIPBOARD_COUNTER);
  ASSERT_NE(counter, nullptr);
  auto count = [&] {
    int n = 0;
    std::sscanf(WindowText(counter).c_str(), "%d", &n);
    return n;
  };
  const int before = count();
  for (int i = 1; i <= 2; ++i) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(mem), "hello", 6);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
    EXPECT_TRUE(WaitUntil([&] { return count() >= before + i; }, 5000)) << WindowText(counter);
  }
  EXPECT_NE(WindowText(counter).find(" 000000"), std::string::npos) << WindowText(counter);
  Exit(p, main);
}

}  // namespace
