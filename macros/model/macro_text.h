#pragma once
// Macro text inside the narrow script file: string escaping for script literals and the
// ESC + five decimal digits form that carries every character a narrow line cannot.

#include <string>
#include <string_view>

inline constexpr wchar_t kMacroEscape = 27;

// Every character of 128 or more, ESC itself and the control characters below 32 (a tab or a
// line end would cut the step marker's line) become ESC and the code as five decimal digits.
std::wstring EncodeMacroText(std::wstring_view text);
// ESC and five digits become that character (kept to 16 bits); an ESC without five digits
// after it stays as it is.
std::wstring DecodeMacroText(std::wstring_view text);

// Every backslash doubled and every double quote preceded by a backslash; in the narrow form
// every byte beyond ASCII and every control character also becomes "\xHH", which the script
// compiler takes as that byte (it reads other bytes beyond ASCII as UTF-8 and would change a
// name in the program's code page).
std::string EscapeScriptString(std::string_view text);
std::wstring EscapeScriptStringW(std::wstring_view text);  // escaped, then encoded
