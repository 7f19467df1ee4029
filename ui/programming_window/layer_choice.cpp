#include "ui/programming_window/layer_choice.h"

#include "macros/macro_editor_controller.h"
#include "macros/model/layer_names.h"
#include "macros/model/macro_context.h"
#include "ui/programming_window/programming_window_ids.h"

std::string ProgrammingTitle(std::string_view displayName, std::string_view programLayer,
                             bool hasColourLayers, bool red, bool bootMode) {
  std::string title(displayName);
  if (!programLayer.empty()) title += " - " + std::string(programLayer);
  if (hasColourLayers) title += red ? " - Red Layer" : " - Green Layer";
  if (bootMode) title += " - DEVICE IN BOOT MODE";
  return title;
}

int LedClickCommand(int currentLayerCommand, bool toRed) {
  const bool defaultLayer = currentLayerCommand == 0 || currentLayerCommand == IDM_PW_GREEN_LAYER ||
                            currentLayerCommand == IDM_PW_RED_LAYER;
  if (defaultLayer) return toRed ? IDM_PW_RED_LAYER : IDM_PW_GREEN_LAYER;
  return toRed ? (currentLayerCommand | 1) : (currentLayerCommand & ~1);
}

int ProgramLayerCommand(int layer, bool red, bool hasColourLayers) {
  return IDM_PW_FIRST_PROGRAM_LAYER + (hasColourLayers ? 2 * layer + (red ? 1 : 0) : layer);
}

std::optional<ProgramLayerChoice> ProgramLayerOfCommand(int command, bool hasColourLayers,
                                                        int layerCount) {
  if (command < IDM_PW_FIRST_PROGRAM_LAYER || command > IDM_PW_LAST_PROGRAM_LAYER) return std::nullopt;
  const int k = command - IDM_PW_FIRST_PROGRAM_LAYER;
  ProgramLayerChoice choice;
  choice.layer = hasColourLayers ? k / 2 : k;
  choice.red = hasColourLayers && (k % 2) == 1;
  if (choice.layer >= layerCount) return std::nullopt;
  return choice;
}

std::optional<int> RemovedLayerOfCommand(int command, int layerCount) {
  if (command < IDM_PW_FIRST_REMOVE_LAYER || command > IDM_PW_LAST_REMOVE_LAYER) return std::nullopt;
  const int n = command - IDM_PW_FIRST_REMOVE_LAYER;
  if (n >= layerCount) return std::nullopt;
  return n;
}

int MaxProgramLayers(bool hasColourLayers) {
  const int span = IDM_PW_LAST_PROGRAM_LAYER - IDM_PW_FIRST_PROGRAM_LAYER + 1;
  return hasColourLayers ? span / 2 : span;
}

LayerColour ColourLayerOf(bool red) { return red ? LayerColour::Red : LayerColour::Green; }

std::string ProgramLayerTokenShown(const MacroContext& c) {
  return LayerToken(ProgramLayerOfIndex(c, c.programLayer));
}
