#include "ui/plugins/plugin_keys.h"

#include <algorithm>

#include "macros/model/macro_context.h"
#include "runtime/script/library_loader.h"

namespace {

// Keeps one load of each library: a library loaded again gives its extra load back at once.
void Keep(MacroContext& context, LibraryLoader& loader, void* library) {
  std::vector<void*>& kept = context.programming.pluginLibraries;
  if (std::find(kept.begin(), kept.end(), library) != kept.end())
    loader.Free(library);
  else
    kept.push_back(library);
}

}  // namespace

int OfferKeyToPlugins(MacroContext& context, void* programmingWindow, int keyId, LibraryLoader& loader,
                      const PluginLocator& locate) {
  // By index, and the name copied: a plug-in's window may change the records while it opens.
  for (std::size_t i = 0; i < context.keys.size(); ++i) {
    if (context.keys[i].keyId != keyId || context.keys[i].plugin.empty()) continue;
    const std::string library = context.keys[i].plugin;
    const std::string path = locate ? locate(library) : std::string();
    if (path.empty()) continue;
    void* const handle = loader.Load(path);
    if (!handle) continue;
    Keep(context, loader, handle);
    const auto entry = reinterpret_cast<PluginEntry>(loader.FindExport(handle, kPluginEntryName));
    if (!entry) continue;
    if (const int taken = entry(programmingWindow, keyId)) return taken;
  }
  return 0;
}

void FreePluginLibraries(MacroContext& context, LibraryLoader& loader) {
  std::vector<void*> libraries;
  libraries.swap(context.programming.pluginLibraries);
  for (void* library : libraries) loader.Free(library);
}
