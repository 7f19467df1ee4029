#pragma once
// The rules of the program-layer lists: which names a new layer may have, which key functions
// belong to a layer, and the command ids of a layer's menu items.

#include <string>
#include <string_view>
#include <vector>

#include "macros/model/macro_records.h"

// Menu commands of the program layers: the layer's items (33000 + n, or 33000 + 2n and
// 33001 + 2n with colour layers) and its Remove Layer item (34220 + n).
inline constexpr int kFirstProgramLayerCommand = 33000;
inline constexpr int kLastProgramLayerCommand = 33098;
inline constexpr int kFirstRemoveLayerCommand = 34220;
inline constexpr int kLastRemoveLayerCommand = 34318;

int ProgramLayerItemCommand(int layer, bool red, bool hasColourLayers);
int RemoveLayerCommand(int layer);
// How many layers the command ranges carry: 49 with colour layers, 99 without.
int MaxProgramLayerCount(bool hasColourLayers);

// A name as a layer keeps it: every "-" becomes a blank.
std::string LayerNameOf(std::string_view name);

// The index of the layer that has this name, or -1. Names are compared without case, and as
// the script names them (blanks and "_" alike), so that no two layers share a function name.
int FindLayer(const std::vector<std::string>& names, std::string_view name);

enum class LayerRefusal {
  None,      // the layer can be added
  Empty,     // no name
  Exists,    // a layer of that name is there: nothing to do
  Reserved,  // the script's own words for the default and any layer
  TooMany,   // no menu commands left
};
LayerRefusal CheckNewLayer(const std::vector<std::string>& names, std::string_view name,
                           bool hasColourLayers);

// True when the key function belongs to the layer of that name: its program layer names the
// layer as the script does.
bool LayerOwnsFunction(std::string_view layer, const KeyFunction& function);
