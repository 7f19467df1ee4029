#include "ui/layers/layer_list.h"

#include "macros/model/key_function_names.h"
#include "macros/model/layer_names.h"
#include "ui/layers/exe_name_table.h"

std::string LayerNameOf(std::string_view name) {
  std::string text(name);
  for (char& c : text)
    if (c == '-') c = ' ';
  return text;
}

int FindLayer(const std::vector<std::string>& names, std::string_view name) {
  const std::string token = LowerAscii(LayerToken(name));
  for (std::size_t i = 0; i < names.size(); ++i)
    if (LowerAscii(LayerToken(names[i])) == token) return static_cast<int>(i);
  return -1;
}

LayerRefusal CheckNewLayer(const std::vector<std::string>& names, std::string_view name, int maxLayers) {
  if (name.empty()) return LayerRefusal::Empty;
  if (FindLayer(names, name) >= 0) return LayerRefusal::Exists;
  const std::string token = LowerAscii(LayerToken(name));
  for (std::string_view word : {kDefaultProgramLayer, kAnyProgramLayer, kAnyColourLayer})
    if (token == LowerAscii(std::string(word))) return LayerRefusal::Reserved;
  if (static_cast<int>(names.size()) >= maxLayers) return LayerRefusal::TooMany;
  return LayerRefusal::None;
}

bool LayerOwnsFunction(std::string_view layer, const KeyFunction& function) {
  if (function.program == kDefaultProgramLayer || function.program == kAnyProgramLayer) return false;
  return CompareNames(function.program, layer) == 0;
}
