#pragma once
// Puts the platform under the macro model: the ANSI code page for its narrow and wide texts and
// the files it writes, each through a file beside it that then takes its place; gives the
// device runtime the regeneration of device scripts, the model the writing of on-board macros
// when a programming window closes, and the "Macro Input" editor its keystroke recorder. The
// program calls it once at start-up, before the device thread starts.

void InstallMacroPlatform();
