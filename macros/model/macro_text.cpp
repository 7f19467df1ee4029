#include "macros/model/macro_text.h"

#include <cstdio>

namespace {

bool NeedsEscape(wchar_t c) { return c >= 128 || c < 32; }

template <typename Char>
std::basic_string<Char> Escape(std::basic_string_view<Char> text) {
  std::basic_string<Char> out;
  out.reserve(text.size() + 8);
  for (Char c : text) {
    if (c == Char('\\') || c == Char('"')) out += Char('\\');
    out += c;
  }
  return out;
}

}  // namespace

std::wstring EncodeMacroText(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (!NeedsEscape(c)) {
      out += c;
      continue;
    }
    char digits[8];
    std::snprintf(digits, sizeof digits, "%05u", static_cast<unsigned>(c) & 0xFFFF);
    out += kMacroEscape;
    for (const char* d = digits; *d; ++d) out += static_cast<wchar_t>(*d);
  }
  return out;
}

std::wstring DecodeMacroText(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == kMacroEscape && text.size() - i > 5) {
      unsigned value = 0;
      bool digits = true;
      for (std::size_t k = 1; k <= 5 && digits; ++k) {
        const wchar_t d = text[i + k];
        digits = d >= L'0' && d <= L'9';
        value = value * 10 + static_cast<unsigned>(d - L'0');
      }
      if (digits) {
        out += static_cast<wchar_t>(value & 0xFFFF);
        i += 5;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string EscapeScriptString(std::string_view text) {
  std::string out;
  for (char c : Escape(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte < 128) {
      out += c;
      continue;
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", byte);
    out += hex;
  }
  return out;
}

std::wstring EscapeScriptStringW(std::wstring_view text) { return EncodeMacroText(Escape(text)); }
