#include "platform/base/message_box_numbers.h"

#include <windows.h>

unsigned PlatformBoxType(BoxButtons buttons, BoxIcon icon, BoxFlag flag) {
  unsigned type = MB_OK;
  switch (buttons) {
    case BoxButtons::Ok: type = MB_OK; break;
    case BoxButtons::OkCancel: type = MB_OKCANCEL; break;
    case BoxButtons::YesNo: type = MB_YESNO; break;
    case BoxButtons::YesNoCancel: type = MB_YESNOCANCEL; break;
  }
  switch (icon) {
    case BoxIcon::None: break;
    case BoxIcon::Error: type |= MB_ICONERROR; break;
    case BoxIcon::Warning: type |= MB_ICONWARNING; break;
    case BoxIcon::Information: type |= MB_ICONINFORMATION; break;
    case BoxIcon::Question: type |= MB_ICONQUESTION; break;
  }
  if (flag == BoxFlag::SetForeground) type |= MB_SETFOREGROUND;
  return type;
}

BoxAnswer BoxAnswerOf(int platformAnswer) {
  switch (platformAnswer) {
    case IDOK: return BoxAnswer::Ok;
    case IDYES: return BoxAnswer::Yes;
    case IDNO: return BoxAnswer::No;
    default: return BoxAnswer::Cancel;
  }
}

int PlatformAnswer(BoxAnswer answer) {
  switch (answer) {
    case BoxAnswer::Ok: return IDOK;
    case BoxAnswer::Yes: return IDYES;
    case BoxAnswer::No: return IDNO;
    case BoxAnswer::Cancel: break;
  }
  return IDCANCEL;
}
