#pragma once
// The layer the programming window shows: its title, the layer commands of the Layer menu and
// of the indicator LEDs, and how many program layers the command ranges can carry.

#include <optional>
#include <string>
#include <string_view>

#include "macros/model/macro_records.h"

// "<device name> - <program layer> - Red Layer - DEVICE IN BOOT MODE": the program layer only
// when one is shown (programLayer not empty), the colour only for a device with colour layers,
// the boot-mode note only in boot mode.
std::string ProgrammingTitle(std::string_view displayName, std::string_view programLayer,
                             bool hasColourLayers, bool red, bool bootMode);

// The command a click on the indicator LED of the other colour sends: the same layer in the
// LED's colour (green 32897 and red 32898 for the default layer, 33000 + 2n and 33001 + 2n for
// program layer n).
int LedClickCommand(int currentLayerCommand, bool toRed);

// Program layer n in a colour, as the Layer menu's commands carry it: 33000 + 2n (+1 for red)
// with colour layers, 33000 + n without.
struct ProgramLayerChoice {
  int layer = 0;
  bool red = false;
  bool operator==(const ProgramLayerChoice&) const = default;
};
int ProgramLayerCommand(int layer, bool red, bool hasColourLayers);
// The layer of a command of the program layers' range; nothing outside the range or for a
// layer that does not exist.
std::optional<ProgramLayerChoice> ProgramLayerOfCommand(int command, bool hasColourLayers,
                                                        int layerCount);
// The layer a Remove Layer command removes; nothing outside the range or past the last layer.
std::optional<int> RemovedLayerOfCommand(int command, int layerCount);
// How many program layers fit the command ranges (49 with colour layers, 99 without).
int MaxProgramLayers(bool hasColourLayers);

struct MacroContext;

// The colour layer of the layer LED's red or green.
LayerColour ColourLayerOf(bool red);
// The program layer shown as function names carry it: "Pnr" for the default layer, else the
// layer's token.
std::string ProgramLayerTokenShown(const MacroContext& context);
