#include "runtime/preprocessor/preprocessor_lexer.h"

#include <algorithm>

namespace {

bool In(std::string_view set, char c) { return c != '\0' && set.find(c) != std::string_view::npos; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsRadixDigit(char c, char radixLetter) {
  switch (radixLetter) {
    case 'b': case 'B': return c == '0' || c == '1';
    case 'o': case 'O': return c >= '0' && c <= '7';
    case 'd': case 'D': return IsDigit(c);
    default: return In(kHexDigits, c);
  }
}

bool SingleCharKind(char c, LexemeKind& kind) {
  switch (c) {
    case ',': kind = LexemeKind::Comma; return true;
    case ';': kind = LexemeKind::Semicolon; return true;
    case '\n': case '\r': kind = LexemeKind::Newline; return true;
    case '\t': case ' ': kind = LexemeKind::Blank; return true;
    case '[': case '{': case '(': kind = LexemeKind::Open; return true;
    case ']': case '}': case ')': kind = LexemeKind::Close; return true;
    default: return false;
  }
}

// The end of a number that starts at p with a digit.
const char* NumberEnd(const char* p, const char* end) {
  const char* start = p;
  while (p < end && IsDigit(*p)) ++p;
  if (p == end) return p;
  if (*p == 'x' || *p == 'X' || (p - start == 1 && *start == '0' && In("bBoOdD", *p))) {
    char letter = *p++;
    while (p < end && IsRadixDigit(*p, letter)) ++p;
    return p;
  }
  bool real = false;
  if (*p == '.') {
    real = true;
    ++p;
    while (p < end && IsDigit(*p)) ++p;
  }
  // Exponents as the script compiler reads them, so that 1.5e3 stays one number.
  if (p < end && (*p == 'e' || *p == 'E')) {
    real = true;
    ++p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    while (p < end && IsDigit(*p)) ++p;
  }
  if (real && p < end && (*p == 'f' || *p == 'F')) ++p;
  return p;
}

// The code of an escaped character in a character literal, or -1 for one kept as written.
int EscapeCode(char c) {
  switch (c) {
    case 'n': return 10;
    case 't': return 9;
    case 'r': return 13;
    case '0': return 0;
    case '\\': return 92;
    case '\'': return 39;
    case '"': return 34;
    default: return -1;
  }
}

}  // namespace

void TokenizeScriptText(const char* begin, const char* end, LexemeList& list) {
  if (!begin || end <= begin) return;
  const char* p = begin;
  const char* lineTextEnd = begin;  // end of the last directive's whole-line lexeme
  auto add = [&](const char* from, const char* to, LexemeKind kind) {
    list.push_back(Lexeme{std::string(from, to), kind});
    p = to;
  };
  while (p < end) {
    const char c = *p;
    LexemeKind kind;
    if (SingleCharKind(c, kind)) {
      add(p, p + 1, kind);
    } else if (In(kIdentifierStart, c)) {
      const char* q = p + 1;
      while (q < end && In(kIdentifierChars, *q)) ++q;
      add(p, q, LexemeKind::Identifier);
    } else if (c == '#') {
      const char* q = p + 1;
      while (q < end && In(kIdentifierChars, *q)) ++q;
      if (p >= lineTextEnd) {
        const char* e = p;
        while (e < end && *e != '\r' && *e != '\n' && *e != '\0') ++e;
        list.push_back(Lexeme{std::string(p, e), LexemeKind::Other});
        lineTextEnd = e;
      }
      add(p, q, LexemeKind::Directive);
      while (p < end && (*p == ' ' || *p == '\t')) ++p;
    } else if (IsDigit(c)) {
      add(p, NumberEnd(p, end), LexemeKind::Number);
    } else if (c == '"') {
      const char* q = p + 1;
      if (end - p >= 3 && p[1] == '"' && p[2] == '"') {
        // A heredoc string runs to the next three quotes, without escapes.
        std::string_view rest(p + 3, end - (p + 3));
        std::size_t close = rest.find("\"\"\"");
        q = close == std::string_view::npos ? end : p + 3 + close + 3;
      } else {
        while (q < end) {
          if (*q == '\\') {
            q = std::min(q + 2, end);
          } else if (*q++ == '"') {
            break;
          }
        }
      }
      add(p, q, LexemeKind::String);
    } else if (c == '\'') {
      int code = -1;
      const char* q = nullptr;
      if (end - p >= 3 && p[1] != '\\' && p[2] == '\'') {
        code = static_cast<signed char>(p[1]);
        q = p + 3;
      } else if (end - p >= 4 && p[1] == '\\' && p[3] == '\'' && EscapeCode(p[2]) >= 0) {
        code = EscapeCode(p[2]);
        q = p + 4;
      }
      if (q) {
        list.push_back(Lexeme{std::to_string(code), LexemeKind::Number});
        p = q;
      } else {
        // Not a one-character literal: keep it as written when it closes on its line.
        q = p + 1;
        while (q < end && *q != '\'' && *q != '\r' && *q != '\n')
          q = (*q == '\\') ? std::min(q + 2, end) : q + 1;
        if (q < end && *q == '\'')
          add(p, q + 1, LexemeKind::String);
        else
          add(p, p + 1, LexemeKind::Other);
      }
    } else if (c == '/' && end - p >= 2 && p[1] == '*') {
      std::string_view rest(p + 2, end - (p + 2));
      std::size_t close = rest.find("*/");
      add(p, close == std::string_view::npos ? end : p + 2 + close + 2, LexemeKind::Other);
    } else if (c == '/' && end - p >= 2 && p[1] == '/') {
      const char* q = p + 2;
      while (q < end && *q != '\r' && *q != '\n') ++q;
      add(p, q, LexemeKind::Other);
    } else {
      add(p, p + 1, LexemeKind::Other);
    }
  }
}

void PrintLexemes(const LexemeList& list, TextOutputStream& stream) {
  auto word = [](LexemeKind k) { return k == LexemeKind::Identifier || k == LexemeKind::Number; };
  bool previousWord = false;
  for (const Lexeme& lexeme : list) {
    bool isWord = word(lexeme.kind);
    if (previousWord && isWord) stream.Write(" ", 1);
    stream.Write(lexeme.text);
    previousWord = isWord;
  }
}

std::size_t CountLineBreaks(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(),
                                                [](char c) { return c == '\r' || c == '\n'; }));
}
