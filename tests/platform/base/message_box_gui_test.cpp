// The platform's message box through the seam: it shows the buttons and the icon asked for,
// with the first button the default, and answers with the button pressed.
#include "platform/base/system_calls.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

// What the box showed, read while it is up.
struct Seen {
  bool found = false;
  std::vector<int> buttons;  // the ids of the buttons there, of IDOK..IDNO
  int defaultButton = 0;
  HICON icon = nullptr;
};

Seen ReadAndPress(const char* caption, int press, const std::string& picture) {
  Seen seen;
  HWND box = WaitForProcessWindow(GetCurrentProcessId(), caption, 5000);
  if (!box) return seen;
  seen.found = true;
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
    if (HWND b = FindChildById(box, id); b && IsWindowVisible(b)) {
      seen.buttons.push_back(id);
      if ((GetWindowLongA(b, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen.defaultButton = id;
    }
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (ClassName(c) == "Static" && (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(c))
      seen.icon = reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0));
  if (!picture.empty()) SaveScreenPicture(box, picture);
  PostMessageA(box, WM_COMMAND, press, 0);
  return seen;
}

TEST(ShowMessageBox, ShowsTheButtonsAndIconAskedForAndAnswersTheButtonPressed) {
  struct Case {
    BoxButtons buttons;
    BoxIcon icon;
    int press;
    BoxAnswer answer;
    std::vector<int> shown;  // in the order of IDOK..IDNO
    int defaultButton;
    LPCSTR systemIcon;  // null: none
    const char* picture;  // "": none saved
  };
  const Case cases[] = {
      {BoxButtons::Ok, BoxIcon::None, IDOK, BoxAnswer::Ok, {IDOK}, IDOK, nullptr, ""},
      {BoxButtons::Ok, BoxIcon::Error, IDOK, BoxAnswer::Ok, {IDOK}, IDOK, IDI_ERROR, "message_box_error"},
      {BoxButtons::OkCancel, BoxIcon::Information, IDCANCEL, BoxAnswer::Cancel, {IDOK, IDCANCEL}, IDOK, IDI_INFORMATION,
       ""},
      {BoxButtons::OkCancel, BoxIcon::Warning, IDOK, BoxAnswer::Ok, {IDOK, IDCANCEL}, IDOK, IDI_WARNING, ""},
      {BoxButtons::YesNo, BoxIcon::Warning, IDNO, BoxAnswer::No, {IDYES, IDNO}, IDYES, IDI_WARNING, ""},
      {BoxButtons::YesNoCancel, BoxIcon::Question, IDYES, BoxAnswer::Yes, {IDCANCEL, IDYES, IDNO}, IDYES,
       IDI_QUESTION, "message_box_question"},
      {BoxButtons::YesNoCancel, BoxIcon::Question, IDCANCEL, BoxAnswer::Cancel, {IDCANCEL, IDYES, IDNO},
       IDYES, IDI_QUESTION, ""},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string caption = "Box under test " + std::to_string(++n);
    SCOPED_TRACE(caption);
    Seen seen;
    std::thread user([&] { seen = ReadAndPress(caption.c_str(), c.press, c.picture); });
    const BoxAnswer answer =
        GetSystemCalls().ShowMessageBox(nullptr, "What the box says.", caption.c_str(), c.buttons, c.icon);
    user.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(seen.buttons, c.shown);
    EXPECT_EQ(seen.defaultButton, c.defaultButton);
    EXPECT_EQ(seen.icon, c.systemIcon ? LoadIconA(nullptr, c.systemIcon) : nullptr);
  }
}

}  // namespace
