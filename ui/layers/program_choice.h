#pragma once
// What the "Add Program Layer" dialog offers and takes: the running programs by their friendly
// names, and the layer name and program that a choice or the finder tool gives.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui/layers/exe_name_table.h"

// The dialog keeps at most this many characters of a layer name (it becomes part of script
// function names). The exe name stays whole: the script compares it with the running program's.
inline constexpr std::size_t kMaxChoiceChars = 49;
// The main program's own executable, never offered.
inline constexpr std::string_view kOwnProgramExe = "orvane.exe";

// A layer to add: the name the user sees and the program that selects it.
struct ProgramLayerChoice {
  std::string name;
  std::string exe;
  bool operator==(const ProgramLayerChoice&) const = default;
};

// One item of the list of running programs: its text and the program it stands for.
struct RunningProgramItem {
  std::string text;
  std::string exe;
  bool operator==(const RunningProgramItem&) const = default;
};

// The layer an exe gives (as the finder and the list see it): a known exe its display name,
// any other its name up to the first "."; the program's own exe and an empty one give nothing.
ProgramLayerChoice ChoiceOfExe(std::string_view exe, const ExeNameTable& table,
                               LowerCaseFunction lower = LowerAscii);

// The list from the exe names of the visible top-level windows in z order (empty for one that
// could not be read): each program once, by its text, in the order first seen. An item keeps
// its own exe, so that two programs of one display name, or a dotted exe name, choose right.
std::vector<RunningProgramItem> RunningProgramList(const std::vector<std::string>& exeNames,
                                                   const ExeNameTable& table,
                                                   LowerCaseFunction lower = LowerAscii);

// The layer a list item gives.
ProgramLayerChoice ChoiceOfItem(const RunningProgramItem& item);
