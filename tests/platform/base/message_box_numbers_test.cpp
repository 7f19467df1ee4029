// A box's enums become the platform's numbers the program's boxes always had, and its answers
// come back as the button that was pressed.
#include "platform/base/message_box_numbers.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(PlatformBoxType, EveryKindOfBoxTheProgramShowsKeepsItsNumbers) {
  struct Case {
    BoxButtons buttons;
    BoxIcon icon;
    BoxFlag flag;
    unsigned type;
  };
  const Case cases[] = {
      {BoxButtons::Ok, BoxIcon::None, BoxFlag::None, MB_OK},
      {BoxButtons::Ok, BoxIcon::Error, BoxFlag::None, MB_ICONERROR},
      {BoxButtons::Ok, BoxIcon::Error, BoxFlag::SetForeground, MB_OK | MB_ICONERROR | MB_SETFOREGROUND},
      {BoxButtons::Ok, BoxIcon::Warning, BoxFlag::None, MB_ICONWARNING},
      {BoxButtons::Ok, BoxIcon::Warning, BoxFlag::None, MB_OK | MB_ICONEXCLAMATION},
      {BoxButtons::Ok, BoxIcon::Information, BoxFlag::None, MB_OK | MB_ICONINFORMATION},
      {BoxButtons::OkCancel, BoxIcon::None, BoxFlag::None, MB_OKCANCEL},
      {BoxButtons::OkCancel, BoxIcon::Warning, BoxFlag::None, MB_OKCANCEL | MB_ICONWARNING},
      {BoxButtons::OkCancel, BoxIcon::Information, BoxFlag::None, MB_OKCANCEL | MB_ICONINFORMATION},
      {BoxButtons::YesNo, BoxIcon::None, BoxFlag::None, MB_YESNO},
      {BoxButtons::YesNo, BoxIcon::Warning, BoxFlag::None, MB_YESNO | MB_ICONWARNING},
      {BoxButtons::YesNo, BoxIcon::Question, BoxFlag::None, MB_YESNO | MB_ICONQUESTION},
      {BoxButtons::YesNoCancel, BoxIcon::Question, BoxFlag::None, MB_YESNOCANCEL | MB_ICONQUESTION},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(PlatformBoxType(c.buttons, c.icon, c.flag), c.type);
  }
}

TEST(BoxAnswerOf, EachButtonComesBackAndABoxNotShownIsCancelled) {
  struct Case {
    int platform;
    BoxAnswer answer;
  };
  const Case cases[] = {
      {IDOK, BoxAnswer::Ok}, {IDCANCEL, BoxAnswer::Cancel}, {IDYES, BoxAnswer::Yes}, {IDNO, BoxAnswer::No}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.platform);
    EXPECT_EQ(BoxAnswerOf(c.platform), c.answer);
    EXPECT_EQ(PlatformAnswer(c.answer), c.platform);
  }
  EXPECT_EQ(BoxAnswerOf(0), BoxAnswer::Cancel);  // the platform could not show it
}

}  // namespace
