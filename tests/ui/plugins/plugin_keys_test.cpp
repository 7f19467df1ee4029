// The offer of a key to its plug-ins, over libraries of the test's own: which library is looked
// for, loaded and asked, what the editor is left to, and what stays loaded until the window
// closes.
#include "ui/plugins/plugin_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "macros/model/macro_context.h"
#include "runtime/script/library_loader.h"

namespace {

// What the entries were asked, in order.
std::vector<std::string>& Asked() {
  static std::vector<std::string> asked;
  return asked;
}
void* const kWindow = reinterpret_cast<void*>(0x1234);

int __cdecl Declines(void* window, int keyId) {
  Asked().push_back("declines " + std::to_string(keyId) + (window == kWindow ? "" : " (another window)"));
  return 0;
}
int __cdecl Takes(void* window, int keyId) {
  Asked().push_back("takes " + std::to_string(keyId) + (window == kWindow ? "" : " (another window)"));
  return 7;
}

// Libraries by path: a name without an entry is a library that lacks it; "broken" cannot load.
class FakeLibraries : public LibraryLoader {
 public:
  std::map<std::string, PluginEntry> entries{{"C:\\p\\a.dll", Declines}, {"C:\\p\\b.dll", Takes}, {"C:\\p\\none.dll", nullptr}};
  std::map<void*, int> loads;  // loads not given back, by handle
  std::vector<std::string> loaded;

  void* Load(const std::string& path) override {
    loaded.push_back(path);
    auto it = entries.find(path);
    if (it == entries.end()) return nullptr;
    void* handle = &it->second;
    ++loads[handle];
    return handle;
  }
  void* FindExport(void* library, const std::string& name) override {
    if (!library || name != "CreateCustomWindow") return nullptr;
    return reinterpret_cast<void*>(*static_cast<PluginEntry*>(library));
  }
  void Free(void* library) override {
    if (--loads[library] == 0) loads.erase(library);
  }
  void* Handle(const std::string& path) { return &entries.at(path); }
};

// Found under C:\p when the name has no "missing" in it.
std::string Locate(const std::string& library) {
  return library.find("missing") == std::string::npos ? "C:\\p\\" + library : std::string();
}

void AddKey(MacroContext& c, int id, const char* plugin) {
  KeyRecord k;
  k.keyId = static_cast<std::uint8_t>(id);
  k.plugin = plugin;
  c.keys.push_back(k);
}

TEST(PluginOffer, EachLibraryThatCannotServeLeavesTheKeyToTheEditor) {
  const struct {
    const char* what;
    const char* plugin;
    std::vector<std::string> loaded;
    std::vector<std::string> asked;
    int kept;
  } cases[] = {
      {"no plug-in for the key", "", {}, {}, 0},
      {"a library that is nowhere", "missing.dll", {}, {}, 0},
      {"a library that cannot be loaded", "broken.dll", {"C:\\p\\broken.dll"}, {}, 0},
      {"a library without the entry (it stays loaded)", "none.dll", {"C:\\p\\none.dll"}, {}, 1},
      {"a plug-in that declines the key", "a.dll", {"C:\\p\\a.dll"}, {"declines 5"}, 1},
  };
  for (const auto& k : cases) {
    Asked().clear();
    FakeLibraries libraries;
    MacroContext c;
    AddKey(c, 4, "b.dll");  // another key's plug-in is not asked
    AddKey(c, 5, k.plugin);
    EXPECT_EQ(OfferKeyToPlugins(c, kWindow, 5, libraries, Locate), 0) << k.what;
    EXPECT_EQ(libraries.loaded, k.loaded) << k.what;
    EXPECT_EQ(Asked(), k.asked) << k.what;
    EXPECT_EQ(static_cast<int>(c.programming.pluginLibraries.size()), k.kept) << k.what;
    EXPECT_EQ(static_cast<int>(libraries.loads.size()), k.kept) << k.what;
  }
}

TEST(PluginOffer, TheFirstPlugInThatTakesTheKeyAnswersForIt) {
  Asked().clear();
  FakeLibraries libraries;
  MacroContext c;
  // The layout's records for one key id, in order: one that declines, one that takes it, one
  // that is never reached.
  AddKey(c, 9, "");
  AddKey(c, 9, "a.dll");
  AddKey(c, 9, "b.dll");
  AddKey(c, 9, "none.dll");
  EXPECT_EQ(OfferKeyToPlugins(c, kWindow, 9, libraries, Locate), 7);
  EXPECT_EQ(Asked(), (std::vector<std::string>{"declines 9", "takes 9"}));
  EXPECT_EQ(libraries.loaded, (std::vector<std::string>{"C:\\p\\a.dll", "C:\\p\\b.dll"}));
  // Without a locator nothing is found.
  EXPECT_EQ(OfferKeyToPlugins(c, kWindow, 9, libraries, nullptr), 0);
}

TEST(PluginOffer, EveryLibraryStaysLoadedOnceUntilTheWindowCloses) {
  Asked().clear();
  FakeLibraries libraries;
  MacroContext c;
  AddKey(c, 1, "b.dll");
  AddKey(c, 2, "a.dll");
  AddKey(c, 3, "b.dll");
  // Another library's key while the first one's window may still be open: both stay, each
  // loaded once however often its keys are offered.
  EXPECT_EQ(OfferKeyToPlugins(c, kWindow, 1, libraries, Locate), 7);
  EXPECT_EQ(OfferKeyToPlugins(c, kWindow, 2, libraries, Locate), 0);
  EXPECT_EQ(OfferKeyToPlugins(c, kWindow, 3, libraries, Locate), 7);
  EXPECT_EQ(OfferKeyToPlugins(c, kWindow, 1, libraries, Locate), 7);
  EXPECT_EQ(libraries.loaded.size(), 4u);
  EXPECT_EQ(c.programming.pluginLibraries,
            (std::vector<void*>{libraries.Handle("C:\\p\\b.dll"), libraries.Handle("C:\\p\\a.dll")}));
  EXPECT_EQ(libraries.loads, (std::map<void*, int>{{libraries.Handle("C:\\p\\a.dll"), 1},
                                                   {libraries.Handle("C:\\p\\b.dll"), 1}}));

  FreePluginLibraries(c, libraries);
  EXPECT_TRUE(libraries.loads.empty());
  EXPECT_TRUE(c.programming.pluginLibraries.empty());
  FreePluginLibraries(c, libraries);  // nothing twice
  EXPECT_TRUE(libraries.loads.empty());
}

}  // namespace
