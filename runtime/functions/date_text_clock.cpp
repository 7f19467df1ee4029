// GetDate: the date text of the local time, kept apart from the text rules so that those
// build without the platform.
#include "runtime/functions/date_text.h"

#include "platform/base/system_calls.h"

std::string GetDate(SystemCalls& calls, const std::string& format) {
  return FormatDateText(format, calls.LocalTime());
}
