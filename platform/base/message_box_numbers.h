#pragma once
// The platform's numbers for a message box: its MB_* type and the IDOK ... that closed it.

#include "platform/base/message_box.h"

unsigned PlatformBoxType(BoxButtons buttons, BoxIcon icon, BoxFlag flag);
// A box that could not be shown (0) answers Cancel, the answer that changes nothing.
BoxAnswer BoxAnswerOf(int platformAnswer);
int PlatformAnswer(BoxAnswer answer);
