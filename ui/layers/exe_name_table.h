#pragma once
// Friendly names of programs, from "EXE Name Table.csv" in the "Custom Commands" folder: each
// line an exe file name, a comma and the name to show for it ("winword.exe,Word").

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

inline constexpr const char* kExeNameTableFile = "EXE Name Table.csv";
// The file is read in lines of at most this many characters; a longer one arrives in pieces.
inline constexpr std::size_t kExeNameTableLineChars = 259;

// Exe file name (lower case) -> display name.
using ExeNameTable = std::map<std::string, std::string>;

// How exe names are lower-cased: the program uses the platform's rules for its code page.
using LowerCaseFunction = std::string (*)(std::string);
std::string LowerAscii(std::string text);

// Adds the lines of the file's text to the table. Both fields lose the white space at their
// ends; a line with a field missing or empty is skipped, text after a second comma is ignored,
// and a later line for the same exe replaces the name of an earlier one.
void ReadExeNameTable(std::string_view text, ExeNameTable& table, LowerCaseFunction lower = LowerAscii);
