#pragma once
// Key tokens as keyboard input records for the platform's input injection.

#include <vector>

#include "platform/base/input_records.h"
#include "runtime/keys/macro_tokens.h"

// One record per token. Names of the virtual-key key set go by their virtual-key code; all
// others by scan code, with the virtual-key code carried as well (Wine types nothing from a
// scan code alone; Windows then ignores it). Keys of the 0xE0 group are sent as extended keys
// with their set-1 code; a character token goes as that character. Needs the key-name tables.
std::vector<InputRecord> SendTokensAsInput(const std::vector<MacroToken>& tokens);
