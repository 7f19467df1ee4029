// The script function GetDate: the date text of the local time, read through the platform seam.
#include "runtime/functions/date_text.h"

#include <windows.h>

#include "platform/base/system_calls.h"

std::string GetDate(std::string format) {
  SYSTEMTIME now{};
  GetSystemCalls().getLocalTime(&now);
  const ClockTime time{now.wYear, now.wMonth,  now.wDayOfWeek, now.wDay,
                       now.wHour, now.wMinute, now.wSecond};
  return FormatDateText(format, time);
}
