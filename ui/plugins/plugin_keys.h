#pragma once
// The per-key plug-ins of a programming window. A key that the layout hands to a plug-in library
// is offered to the library's entry "CreateCustomWindow" before its editor opens. The libraries
// a window loads stay loaded until the window closes: a plug-in's window runs the library's code
// for as long as it is open, which may well be after another key's plug-in has been loaded.

#include <functional>
#include <string>

class LibraryLoader;
struct MacroContext;

inline constexpr char kPluginEntryName[] = "CreateCustomWindow";
// The entry a plug-in library exports: the programming window and the key id; nonzero when the
// plug-in took the key (typically after making a window of its own). The caller removes the
// arguments.
using PluginEntry = int(__cdecl*)(void* programmingWindow, int keyId);

// The full path of a plug-in library named in the layout, or "" when it is nowhere.
using PluginLocator = std::function<std::string(const std::string& library)>;

// Offers the key to the plug-in of each key record with that id that names one, in record
// order: the library is found, loaded (kept in the context, once however often it is loaded)
// and its entry called. The first nonzero answer is returned at once. 0 lets the editor open:
// a library that is not found, cannot be loaded or lacks the entry is passed over.
int OfferKeyToPlugins(MacroContext& context, void* programmingWindow, int keyId, LibraryLoader& loader,
                      const PluginLocator& locate);

// Gives back every library the context's window loaded; nothing of theirs may run afterwards.
void FreePluginLibraries(MacroContext& context, LibraryLoader& loader);
