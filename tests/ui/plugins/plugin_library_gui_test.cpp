// The tests' own plug-in library loaded by the offer of a key, outside the program: its window
// is made, and goes before the library is given back with the window's context; the library
// then leaves the process, and can be loaded again.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "macros/model/macro_context.h"
#include "macros/model/macro_model_events.h"
#include "macros/model/macro_lifecycle.h"
#include "runtime/script/library_loader.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"
#include "tests/ui/plugins/test_key_plugin.h"
#include "ui/plugins/plugin_keys.h"
#include "ui/plugins/plugin_windows.h"

using namespace testsupport;
using namespace testplugin;

namespace {

// The plug-ins' side of the model's events, as the program has it.
class PluginEvents : public MacroModelEvents {
 public:
  void UnloadPlugin(MacroContext& c) override { UnloadPlugins(c); }
};

std::unique_ptr<MacroContext> PluginKeys(MacroModelEvents& events) {
  auto c = std::make_unique<MacroContext>(events);
  for (int id : {kPluginWindowKey, kPluginEditorKey, kPluginDeclinedKey}) {
    KeyRecord k;
    k.keyId = static_cast<std::uint8_t>(id);
    k.plugin = kLibrary;
    c->keys.push_back(k);
  }
  return c;
}

TEST(PluginLibrary, ItsWindowGoesBeforeTheLibraryAndTheLibraryLeavesWithTheContext) {
  PluginEvents events;
  const std::string bin = EnvOr("ORVANE_BIN");
  const PluginLocator locate = [&](const std::string& library) { return bin + "\\" + library; };
  for (int round = 0; round < 2; ++round) {
    std::unique_ptr<MacroContext> c = PluginKeys(events);
    // No programming window: the plug-in's window has no owner, which nothing else closes.
    EXPECT_EQ(OfferKeyToPlugins(*c, nullptr, kPluginWindowKey, SystemLibraries(), locate), 1) << round;
    const HWND own = FindWindowA(kWindowClass, kWindowTitle);
    ASSERT_NE(own, nullptr) << round;
    EXPECT_EQ(GetWindow(own, GW_OWNER), nullptr);
    // Outside the program there is no editor procedure to run: the plug-in declines.
    EXPECT_EQ(OfferKeyToPlugins(*c, nullptr, kPluginEditorKey, SystemLibraries(), locate), 0);
    EXPECT_EQ(OfferKeyToPlugins(*c, nullptr, kPluginDeclinedKey, SystemLibraries(), locate), 0);
    EXPECT_EQ(c->programming.pluginLibraries.size(), 1u);
    EXPECT_NE(GetModuleHandleA(kLibrary), nullptr);

    CloseMacroContext(std::move(c), true);
    EXPECT_FALSE(IsWindow(own)) << round;
    EXPECT_EQ(GetModuleHandleA(kLibrary), nullptr) << round;
    PumpMessages(50);  // nothing of the library's is left to run
  }
}

}  // namespace
