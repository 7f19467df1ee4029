#pragma once
// The backup of a removed program layer: a file in the "Layer Backup" folder of the device
// type with the layer's name, its program and its key functions in the script file's own
// function form, from which Recover Layer brings the layer back.

#include <string>
#include <string_view>
#include <vector>

#include "macros/model/macro_records.h"
#include "platform/base/clock_time.h"

struct MacroContext;

inline constexpr const char* kLayerBackupFolder = "Layer Backup";

// "<layer> MM-DD-YYYY.oxs" for the day; copy 2 and up adds " (2)" and so on, for a second
// backup of one layer on one day. Characters a file name cannot hold become "_".
std::string LayerBackupFileName(std::string_view layer, const ClockTime& day, int copy = 1);

// The file's text (line feeds): "//NAME: " and the layer, "//EXE: " and its program, then per
// function an empty line, "//fstart", "void <name>()", the body and "//fend", each on lines of
// their own.
std::string LayerBackupText(std::string_view layer, std::string_view exe,
                            const std::vector<KeyFunction>& functions);

struct LayerBackup {
  std::string layer;
  std::string exe;
  std::vector<KeyFunction> functions;  // those of the file that carry macro steps
};
// Reads a backup's text (CR LF or LF): the "//NAME:" and "//EXE:" lines give the layer and its
// program, the rest is read as the functions of a script file.
LayerBackup ReadLayerBackup(std::string_view text);

// Adds the backup's functions of that layer to the context where it has none of their key,
// event and layers; each custom command step gets the next free command id (the ids the file
// carries may have been given to other steps since). The number of functions added.
int AdoptLayerFunctions(MacroContext& context, std::string_view layer, const std::vector<KeyFunction>& functions);

// The custom command ids that the bodies run, for the ids a removal frees.
std::vector<int> CustomCommandIdsOf(const std::vector<KeyFunction>& functions);
