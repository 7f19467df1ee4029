#pragma once
// The program layers in the programming window's Layer menu: after "Green Layer" and "Red
// Layer", layer n at position n + 2 (a popup with its own "Green Layer" and "Red Layer" items
// with colour layers, else one item), pushing the menu's further item down; behind that the
// popup "Remove Layer" with one item per layer. All by position, so the order is the contract.

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/programming_window/programming_menu.h"

// Layer n (n layers before it) into the Layer menu and the "Remove Layer" popup, which the
// first layer makes. False when the menu could not take it.
bool InsertLayerMenus(HMENU layerMenu, int layer, const std::string& name, bool hasColourLayers);
// Layer n of count out of both; the Remove items of later layers take ids one lower, and the
// popup goes with the last layer.
void RemoveLayerMenus(HMENU layerMenu, int layer, int count);
// Every layer's items, first to last, and the popup.
void RemoveAllLayerMenus(HMENU layerMenu, int count);
