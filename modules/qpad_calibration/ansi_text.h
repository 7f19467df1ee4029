#pragma once
// Script text and file names are bytes; windows and GDI+ take UTF-16.
#include <string>
#include <string_view>

namespace qpadcal {

// One UTF-16 unit per byte: ASCII as it is, the bytes above 0x7F through the system's ANSI
// code page where that has one character per byte (so that a file name reaches the file the
// main program's narrow calls would), else as Latin-1.
std::wstring WidenBytes(std::string_view bytes);

}  // namespace qpadcal
