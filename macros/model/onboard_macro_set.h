#pragma once
// A layout's default-layer macros as the set of key-code strings that a keypad keeps in its
// own memory, and such a set read from a keypad imported as a new layout.

#include <cstdint>

#include "macros/model/onboard_image.h"

struct KeyRecord;
struct MacroContext;

// Keys whose macros go to the keypad: key records without a plug-in, not under or of a key cap
// and not spacers (by their kind or by the layout's spacer set).
bool IsOnboardKey(const MacroContext& context, const KeyRecord& key);
// The highest id of those (0 without any): packing and unpacking both size the image by it.
std::uint8_t OnboardHighestKey(const MacroContext& context);

// Toggle keys get the layer toggle in both Key Down tables, shift keys in all four; every
// other key's default-layer entries are converted. A Key Down of one typed character or of
// modifiers alone, with no Key Up beside it, is held as long as the keypad key is.
DeviceMacroSet BuildDeviceMacroSet(const MacroContext& context);

// Starts a new layout (the programming window's New, through its hook, and the context's own
// functions, special keys, includes and layers emptied), makes toggle and shift keys and key
// functions of the default program layer from the set, and writes the device's own script
// file. False when no file was written.
bool ImportDeviceMacros(MacroContext& context, const DeviceMacroSet& set);
