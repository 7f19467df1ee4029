#include "macros/model/text_code_page.h"

namespace {

std::wstring WidenLatin1(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (char c : text) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return out;
}

std::string NarrowLatin1(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) out += c <= 0xFF ? static_cast<char>(c) : '?';
  return out;
}

TextCodePage& Current() {
  static TextCodePage page{WidenLatin1, NarrowLatin1};
  return page;
}

}  // namespace

void SetTextCodePage(const TextCodePage& codePage) {
  Current().widen = codePage.widen ? codePage.widen : WidenLatin1;
  Current().narrow = codePage.narrow ? codePage.narrow : NarrowLatin1;
}

std::wstring WidenText(std::string_view text) { return Current().widen(text); }
std::string NarrowText(std::wstring_view text) { return Current().narrow(text); }
