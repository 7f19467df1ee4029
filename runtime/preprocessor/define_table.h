#pragma once
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "runtime/preprocessor/preprocessor_lexer.h"

struct DefineEntry {
  LexemeList value;
  std::map<std::string, int> parameters;  // parameter name -> index from 0
};

// Define name -> entry, ordered by byte value; the ordering decides which define wins when
// several match one identifier (see ExpandIdentifier).
using DefineTable = std::map<std::string, DefineEntry, std::less<>>;

enum class DefineStatus {
  Ok,
  NoArguments,
  ExpectedArguments,
  ExpectedIdentifier,
  ExpectedClosingParenthesis,
  UnexpectedEndOfLine,
};

// The message for a failed "#define" or "#undef" ("" for Ok).
std::string_view DefineStatusMessage(DefineStatus status);

struct ParsedDefine {
  std::string name;  // empty when the line had no name
  DefineStatus status = DefineStatus::Ok;
  bool expansionLimitReached = false;  // some value lexeme hit the expansion bound
};

// The "#define" parser. arguments are the directive line's non-blank lexemes, the directive
// word first. On Ok the define is made (or replaced); on any error none is.
ParsedDefine ParseDefine(LexemeList arguments, DefineTable& defines);

// Bounds of replacing one lexeme, so that a define that expands to itself or to an ever
// longer text ends.
inline constexpr int kMaxExpansionsPerLexeme = 64;
inline constexpr std::size_t kMaxExpandedLexemeBytes = 1u << 20;

struct ExpandResult {
  LexemeList::iterator next;   // the first non-blank lexeme after the one expanded
  bool limitReached = false;   // replacement stopped at a bound (or would repeat for ever)
};

// Replaces the lexeme at position by defines until none matches: a define matches when its
// name equals the text, or when the name has no lower-case letter, begins with '_' and ends
// the text; the first match in name order wins, and that name's occurrence is replaced by the
// text of the first lexeme of its value (nothing for an empty value). The lexeme keeps its
// kind. Parameters are not used. end bounds the search for the next lexeme.
ExpandResult ExpandIdentifier(LexemeList& list, const DefineTable& defines,
                              LexemeList::iterator position, LexemeList::iterator end);

// __LINE__ as one number lexeme.
void DefineLine(DefineTable& defines, int line);
// __FILE__ as one string lexeme: the file as a string constant, between two double quotes with
// every backslash and double quote escaped and every byte from 0x80 on written as \xNN, so that
// a script reads the name's bytes as they are.
void DefineFile(DefineTable& defines, const std::string& file);
// name as one string-kind lexeme holding text.
void DefineString(DefineTable& defines, const std::string& name, const std::string& text);

// A text made into an identifier: surrounding double quotes dropped, then every character
// that is not an identifier character turned into '_'.
std::string MakeIdentifier(std::string_view text);
