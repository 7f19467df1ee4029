#pragma once
// Puts the platform under the macro model: the ANSI code page for its narrow and wide texts.
// The program calls it once at start-up, before any macro context is made.
void InstallMacroPlatform();
