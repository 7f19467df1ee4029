#pragma once
// Program-layer names as the user gives them ("My App", "notepad++") and as they appear in
// function names, case labels and comparisons: one mapping turns a name into its token.

#include <string>
#include <string_view>

// Every character that cannot stand in an identifier becomes "_" (so "My App" gives "My_App",
// as files have always had it). Tokens ("Pnr", "My_App") map to themselves.
std::string LayerToken(std::string_view name);
// Compares two names by their tokens (negative, 0, positive): "My App" equals "My_App".
int CompareNames(std::string_view a, std::string_view b);
// The name with its "," and line ends made blanks, as a layer marker line can carry it.
std::string LayerMarkerName(std::string_view name);
// A program file name with its line ends made blanks (after the name's "," a marker line can
// carry any other character).
std::string LayerMarkerProgram(std::string_view program);
