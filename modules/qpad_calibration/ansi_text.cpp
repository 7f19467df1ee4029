#include "modules/qpad_calibration/ansi_text.h"

#include <windows.h>

namespace qpadcal {

namespace {

bool AnsiCodePageIsSingleByte() {
  CPINFO info{};
  return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
}

}  // namespace

std::wstring WidenBytes(std::string_view bytes) {
  std::wstring wide(bytes.size(), L'\0');
  if (bytes.empty()) return wide;
  if (AnsiCodePageIsSingleByte() && bytes.size() <= 0x7FFFFFFF &&
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                          static_cast<int>(wide.size())) == static_cast<int>(bytes.size()))
    return wide;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
  return wide;
}

}  // namespace qpadcal
