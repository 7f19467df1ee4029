#pragma once
#include <cstddef>
#include <list>
#include <string>
#include <string_view>

#include "runtime/preprocessor/text_streams.h"

// The lexemes the script preprocessor works on. Their texts, printed in order, give back the
// script (see PrintLexemes); a list so that lines can be cut out and includes spliced in.
enum class LexemeKind : int {
  Identifier = 0,
  Comma = 1,
  Semicolon = 2,
  Open = 3,       // ( [ {
  Close = 4,      // ) ] }
  Directive = 5,  // '#' and the identifier characters after it, or "#" alone
  Newline = 6,    // one CR or one LF
  Blank = 7,      // one space or one tab
  Other = 8,      // any other single character, a comment, or a directive's whole line
  String = 10,
  Number = 11,
};

struct Lexeme {
  std::string text;
  LexemeKind kind = LexemeKind::Other;
  bool operator==(const Lexeme&) const = default;
};

using LexemeList = std::list<Lexeme>;

inline constexpr std::string_view kIdentifierStart =
    "_abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr std::string_view kIdentifierChars =
    "_abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
inline constexpr std::string_view kDigits = "0123456789";
inline constexpr std::string_view kHexDigits = "0123456789abcdefABCDEF";

// Appends the lexemes of the bytes [begin, end), which may hold any byte.
//
// Before each directive lexeme comes an Other lexeme holding the directive's text and the
// rest of its line up to the first CR, LF or zero byte, so that the line stays in the output
// as a comment when the preprocessor removes the directive. A further '#' inside that same
// stretch gets no second one. Blanks right after a directive are left out. A "//" comment
// ends before the next CR or LF, so every line end outside strings and block comments is a
// newline lexeme of its own.
void TokenizeScriptText(const char* begin, const char* end, LexemeList& list);
inline void TokenizeScriptText(std::string_view text, LexemeList& list) {
  TokenizeScriptText(text.data(), text.data() + text.size(), list);
}

// Writes the texts of all lexemes in order, with one blank between two neighbours that are
// both identifiers or numbers.
void PrintLexemes(const LexemeList& list, TextOutputStream& stream);

// True for the Other lexeme that carries a directive's whole line.
inline bool IsDirectiveLine(const Lexeme& lexeme) {
  return lexeme.kind == LexemeKind::Other && !lexeme.text.empty() && lexeme.text[0] == '#';
}

// The CR and LF characters in a text (each counts as one line end), for the line breaks that
// strings and block comments hold inside one lexeme.
std::size_t CountLineBreaks(std::string_view text);

