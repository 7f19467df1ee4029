// The window script functions on real windows of this test under the run's display: finding
// windows, the active and focus windows, messages, the foreground program's title, class and
// executable, and bringing a window to the foreground as its placement says.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/system_calls.h"
#include "runtime/functions/script_platform.h"
#include "runtime/functions/system_script_functions.h"
#include "runtime/functions/window_functions.h"
#include "tests/runtime/script/script_fixture.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

const char kClass[] = "OrvaneWindowFunctionsTest";
std::vector<std::string> received;

LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= WM_USER && msg < WM_USER + 100)
    received.push_back(std::to_string(msg - WM_USER) + " " + std::to_string(wp) + " " +
                       std::to_string(lp));
  return DefWindowProcA(hwnd, msg, wp, lp);
}

int AsInt(HWND hwnd) { return static_cast<int>(reinterpret_cast<std::intptr_t>(hwnd)); }

std::string ThisExeName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  name = name.substr(name.find_last_of('\\') + 1);
  CharLowerBuffA(name.data(), static_cast<DWORD>(name.size()));
  return name;
}

class WindowFunctions : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TestProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
  }
  void SetUp() override {
    ASSERT_EQ(RegisterScriptFunctions(script_.Engine(), {platform_}), 0);
    received.clear();
  }
  // Windows stay until the process ends: destroying a shown window waits for the display
  // server for seconds under Wine. Each test's titles are its own.
  HWND MakeWindow(const char* title, HWND owner = nullptr, DWORD style = WS_OVERLAPPEDWINDOW) {
    HWND w = CreateWindowExA(0, kClass, title, style | WS_VISIBLE, 50, 50, 300, 200, owner, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    return w;
  }
  bool MakeForeground(HWND w) {
    SetForegroundWindow(w);
    return WaitUntil([&] { return GetForegroundWindow() == w; }, 3000);
  }
  // Runs the body with "w" and "v" as the two window handles; returns what it printed.
  std::string Run(const std::string& body, HWND w, HWND v = nullptr) {
    const std::string code = "int w = " + std::to_string(AsInt(w)) +
                             "; int v = " + std::to_string(AsInt(v)) + ";\n" + body;
    EXPECT_EQ(script_.Run(code), asEXECUTION_FINISHED) << script_.Messages();
    return script_.Output();
  }

  SystemCalls platform_;
  ScriptFixture script_;
};

TEST_F(WindowFunctions, FindActiveAndFocus) {
  HWND w = MakeWindow("Window functions one");
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, w, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(MakeForeground(w));
  SetFocus(edit);
  ASSERT_TRUE(WaitUntil([&] { return GetFocus() == edit; }, 2000));
  const std::string both = std::to_string(AsInt(FindWindowA(nullptr, nullptr)));
  EXPECT_EQ(Run(R"(print(FindWindow("OrvaneWindowFunctionsTest", "") == w);
                   print(FindWindow("", "Window functions one") == w);
                   print(FindWindow("OrvaneWindowFunctionsTest", "Window functions one") == w);
                   print(FindWindow("NoSuchClassHere", "")); print(FindWindow("", "No such title"));
                   print(FindWindow("", ""));
                   print(ActiveWindow() == w); print(FocusedWindow() == v);)",
                w, edit),
            "true|true|true|0|0|" + both + "|true|true");
}

TEST_F(WindowFunctions, SendAndPostMessages) {
  HWND w = MakeWindow("Window functions messages");
  EXPECT_EQ(Run(R"(SendMessageToWindow(w, 0x405, 7, -9); print(1);
                   PostMessageToWindow(w, 0x406, 8, 10); SendMessageToWindow(0, 0x405, 1, 1);)",
                w),
            "1");
  ASSERT_EQ(received, std::vector<std::string>{"5 7 -9"});
  ASSERT_TRUE(WaitUntil([] { return received.size() == 2; }, 2000));
  EXPECT_EQ(received[1], "6 8 10");
}

TEST_F(WindowFunctions, TopWindowIsTheRootOwnerOfTheForegroundWindow) {
  const std::string longTitle(150, 't');
  HWND owner = MakeWindow(longTitle.c_str());
  HWND owned = MakeWindow("Owned dialog", owner, WS_POPUP | WS_CAPTION);
  ASSERT_TRUE(MakeForeground(owned));
  const std::string exe = ThisExeName();
  std::string upper = exe;
  CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  const std::string printed =
      Run("string title, cls; GetTopWindowTitleAndClassName(title, cls); print(title); "
          "print(cls); string exe; GetTopWindowExeName(exe); print(exe);"
          "print(GetHandleForExe(\"" +
              upper + "\") == w); print(GetHandleForExe(\"" + exe +
              "\") == w);"
              "print(GetHandleForExe(\"nosuchprogram.exe\")); print(GetHandleForExe(\"\"));",
          owner);
  EXPECT_EQ(printed,
            std::string(kMaxWindowTextChars, 't') + "|" + kClass + "|" + exe + "|true|true|0|0");
  EXPECT_EQ(GetWindowExeName(owned), exe);
  EXPECT_EQ(GetWindowExeName(nullptr), "");
}

TEST_F(WindowFunctions, SetForegroundWindowRestoresAsPlaced) {
  HWND maximised = MakeWindow("Window functions maximised");
  ShowWindow(maximised, SW_MAXIMIZE);
  ShowWindow(maximised, SW_MINIMIZE);  // remembers to come back maximised
  HWND normal = MakeWindow("Window functions normal");
  ShowWindow(normal, SW_MINIMIZE);
  HWND other = MakeWindow("Window functions other");
  ASSERT_TRUE(MakeForeground(other));

  EXPECT_EQ(Run("print(SetForegroundWindow(w) != 0);", maximised), "true");
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == maximised; }, 3000));
  EXPECT_TRUE(IsZoomed(maximised));

  EXPECT_EQ(Run("print(SetForegroundWindow(w) != 0);", normal), "true");
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == normal; }, 3000));
  EXPECT_FALSE(IsZoomed(normal));
  EXPECT_FALSE(IsIconic(normal));

  EXPECT_EQ(Run("print(SetForegroundWindow(0));", nullptr), "0");
}

}  // namespace
