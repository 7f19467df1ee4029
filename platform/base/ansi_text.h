#pragma once
// Narrow text in the system's ANSI code page against wide text: the narrow file names, script
// texts and registry values of both programs and the libraries against the wide calls of
// windows, GDI+ and the command line. Lengths are explicit, so zero bytes are kept as text.

#include <string>
#include <string_view>

// How narrow text widens.
enum class AnsiWidening {
  // By the code page's characters: a double-byte character becomes one unit.
  kCharacters,
  // One unit per byte: through the code page where it has one character per byte (a file name
  // then reaches the file the narrow calls would), else each byte as Latin-1.
  kBytes,
};

// The ANSI code page's number (CP_ACP); another number names another code page.
inline constexpr unsigned kAnsiCodePage = 0;

std::wstring WidenAnsi(std::string_view text);
std::wstring WidenAnsi(std::string_view text, AnsiWidening how, unsigned codePage = kAnsiCodePage);
// A character the code page lacks becomes its default character ("?").
std::string NarrowAnsi(std::wstring_view text);
std::string NarrowAnsi(std::wstring_view text, unsigned codePage);
