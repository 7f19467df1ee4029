#include "runtime/preprocessor/text_streams.h"

#include <cstring>

void TextOutputStream::Write(const char* zeroTerminated) {
  if (zeroTerminated) Write(zeroTerminated, std::strlen(zeroTerminated));
}

void TextOutputStream::WriteInt(long long value) { Write(std::to_string(value)); }
