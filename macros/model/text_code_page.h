#pragma once
// Narrow text of script and data files against the wide text of the editor: one conversion in
// both directions. The program puts the platform's ANSI code page in place; until then (and in
// tests) each byte is one character of Latin-1, and a character above 255 narrows to "?".

#include <string>
#include <string_view>

struct TextCodePage {
  std::wstring (*widen)(std::string_view text) = nullptr;
  std::string (*narrow)(std::wstring_view text) = nullptr;
};
// Null members put Latin-1 back.
void SetTextCodePage(const TextCodePage& codePage);

std::wstring WidenText(std::string_view text);
std::string NarrowText(std::wstring_view text);
