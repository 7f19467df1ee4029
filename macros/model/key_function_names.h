#pragma once
// The words of a generated key function's name, "KeyDown_35_Green_Pnr()": the key event and the
// colour layer as script files spell them, both ways. Nothing else spells them, so the enums
// are the values everywhere and the files stay as they have always been.

#include <optional>
#include <string>
#include <string_view>

#include "macros/model/macro_records.h"

// The colour-layer token of a function for any colour layer.
inline constexpr std::string_view kAnyColourLayer = "Cni";

// "KeyDown" or "KeyUp": the word of the name, and the script function the device thread calls.
std::string_view KeyEventName(KeyEvent event);
// "Green", "Red" or "Cni".
std::string_view LayerColourName(LayerColour colour);
// The event or colour layer a word of a name spells (case-sensitive); none for any other word.
std::optional<KeyEvent> KeyEventOfName(std::string_view word);
std::optional<LayerColour> LayerColourOfName(std::string_view word);

// "%s_%d_%s_%s()" of the function.
std::string KeyFunctionName(const KeyFunction& function);
std::string KeyFunctionName(KeyEvent event, int scan, LayerColour colour, std::string_view program);
