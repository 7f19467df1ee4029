#pragma once
// A macro entry's steps and the body of the key function made from them, both ways, and the
// editing of an entry's steps at a position of the editor box (the box itself is the editor's:
// these work on the entry and a selection).
//
// Step texts: typed text "/hello" (shown without its "/"), a key name "<Return>", a combination
// "{Ctrl+c}", a command "[...]"; the symbols "[↓]" and "[↑]" stand after the step whose key they
// hold or release. Each step item has the code item of the same index.

#include <string>
#include <string_view>
#include <vector>

#include "macros/model/macro_records.h"

struct MacroContext;

inline constexpr std::wstring_view kHeldSymbol = L"[\u2193]";
inline constexpr std::wstring_view kReleasedSymbol = L"[\u2191]";
inline constexpr std::string_view kStepMarker = "//ORVX: \"";

bool IsTypedText(std::wstring_view step);
bool IsStepSymbol(std::wstring_view step);
// Characters the item takes in the editor box.
int DisplayLength(const MacroItem& item);
// Sets every item's start and end from the lengths of the items before it.
void LayOutMacroItems(MacroEntry& entry);

// "SendString(\"...\");" of a typed text or key step.
std::wstring SendStringCode(std::wstring_view step);

// The body of the entry's key function: "{\n" + steps + "\n}", each step its marker line and
// its code; a held or released typed text of several characters gives its last character a
// step of its own.
std::string MacroBodyOf(const MacroEntry& entry);
void MacroTextToScript(const MacroEntry& entry, KeyFunction& function);

// The entry's steps from a body: each step marker starts a step, whose text is decoded from
// between its first and last double quote and whose code is the lines up to the next marker.
// True when the entry has steps afterwards.
bool SplitMacroSteps(MacroEntry& entry, const KeyFunction& function);
// Appends one step ("_" held and "-" released become the step and its symbol); its code item
// goes with it, empty if need be. The position after the step.
int ParseMacroStep(MacroEntry& entry, int position, std::wstring_view text, std::wstring_view code);

struct MacroSelection {
  int start = 0;
  int end = 0;
};

// Inserts a step into the current entry: at the selection (which is removed first and then
// put behind the inserted text) or, without a box, after the last step. Inside typed text a
// single character joins it and any other step splits it. A step of one character is typed
// text. Without code the step sends its text. False (and nothing changes) for a toggle or
// shift key, an unknown key or an empty step.
bool InsertMacroText(MacroContext& context, std::wstring_view step, const std::wstring* code,
                     MacroSelection* box);
// Removes the selected range of the current entry: typed text keeps what lies outside it, any
// other step it touches goes whole; the ids of removed custom commands are noted in the
// context. The selection becomes empty at its start.
void DeleteMacroSelection(MacroContext& context, MacroSelection& box);
void MergeTypedTextSteps(MacroEntry& entry);
void MergeTypedTextSteps(MacroContext& context);
// What the editor box shows of the entry: the shown items, typed text without its "/".
std::wstring MacroBoxText(const MacroEntry& entry);

// A key's text for a tooltip or caption: its Key Down entry's, and after "\n-----\n" its Key
// Up entry's when that has steps.
std::wstring GetKeyDownMacroText(const std::vector<MacroEntry>& entries, LayerColour colour,
                                 std::string_view program);
// "<device name> ID:<unit id>", or "Unknown Device".
std::string GetDeviceDisplayName(MacroContext& context);
