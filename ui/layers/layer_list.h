#pragma once
// The rules of the program-layer lists: which names a new layer may have, and which key
// functions belong to a layer.

#include <string>
#include <string_view>
#include <vector>

#include "macros/model/macro_records.h"

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
// maxLayers: how many layers the window's menu commands carry.
LayerRefusal CheckNewLayer(const std::vector<std::string>& names, std::string_view name, int maxLayers);

// True when the key function belongs to the layer of that name: its program layer names the
// layer as the script does.
bool LayerOwnsFunction(std::string_view layer, const KeyFunction& function);
