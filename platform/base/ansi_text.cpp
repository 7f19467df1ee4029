// The conversions through the system's code pages.
#include "platform/base/ansi_text.h"

#include <windows.h>

#include <climits>

static_assert(kAnsiCodePage == CP_ACP);

namespace {

bool SingleByte(unsigned codePage) {
  CPINFO info{};
  return GetCPInfo(codePage, &info) && info.MaxCharSize == 1;
}

std::wstring Latin1(std::string_view bytes) {
  std::wstring wide(bytes.size(), L'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
  return wide;
}

}  // namespace

std::wstring WidenAnsi(std::string_view text) { return WidenAnsi(text, AnsiWidening::kCharacters); }

std::wstring WidenAnsi(std::string_view text, AnsiWidening how, unsigned codePage) {
  if (how == AnsiWidening::kBytes) {
    if (text.empty() || text.size() > INT_MAX || !SingleByte(codePage)) return Latin1(text);
    const int size = static_cast<int>(text.size());
    std::wstring wide(text.size(), L'\0');
    return MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), size) == size ? wide
                                                                                         : Latin1(text);
  }
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), n);
  return wide;
}

std::string NarrowAnsi(std::wstring_view text) { return NarrowAnsi(text, kAnsiCodePage); }

std::string NarrowAnsi(std::wstring_view text, unsigned codePage) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string narrow(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), n, nullptr, nullptr);
  return narrow;
}
