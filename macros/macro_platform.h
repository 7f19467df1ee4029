#pragma once
// Puts the platform under the macro model: the ANSI code page for its narrow and wide texts and
// the files it writes, each through a file beside it that then takes its place, and gives the
// "Macro Input" editor its keystroke recorder. The program calls it once at start-up, before
// the device thread starts.

void InstallMacroPlatform();
