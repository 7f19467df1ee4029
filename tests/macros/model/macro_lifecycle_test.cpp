#include "macros/model/macro_lifecycle.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "macros/model/key_caps.h"
#include "macros/model/script_writer.h"
#include "tests/macros/model/fake_model_events.h"
#include "tests/macros/model/golden_layouts.h"

using namespace testsupport;

namespace {

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

KeyRecord Key(int id) {
  KeyRecord k;
  k.keyId = static_cast<std::uint8_t>(id);
  return k;
}

TEST(KeyCaps, EntriesAreRebuiltFromTheFunctionList) {
  MacroContext c;
  c.keys = {Key(1), Key(2)};
  c.keys[0].entries.push_back({KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/stale", 0, 5, true}}, {{L"x", 0, 0, true}}, -1});
  Program(c, 2, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/two", L""}});
  Program(c, 2, KeyEvent::Up, LayerColour::Red, "Word", {{L"<Tab>", L""}});
  AddKeyFunction(c.functions, 99, KeyEvent::Down, LayerColour::Green, "Pnr", "{\n//ORVX: \"/ghost\"\n}");
  c.keys.erase(c.keys.begin() + 2, c.keys.end());
  c.hotKeyId = 2;
  RebuildKeyCaps(c);
  EXPECT_TRUE(c.keys[0].entries.empty());
  ASSERT_EQ(c.keys[1].entries.size(), 2u);
  EXPECT_EQ(c.keys[1].entries[0].steps[0].text, L"/two");
  EXPECT_EQ(c.keys[1].entries[1].program, "Word");
  EXPECT_EQ(c.keys[1].entries[1].functionLink, 1);
  EXPECT_EQ(c.hotKeyId, 2);
  // The function of a key the view lacks is not shown, but stays in the file.
  EXPECT_NE(GenerateScriptText(c, {}, std::nullopt).find("KeyDown_99_Green_Pnr"), std::string::npos);
}

TEST(KeyCaps, ViewsAreMadeWithoutStoringAndMadeOnceAgain) {
  FakeModelEvents events;
  events.changeKeyCap = [](MacroContext& c, const KeyRecord& cap, const std::vector<int>& covered, int kind, bool store) {
    Log().push_back("cap " + std::to_string(cap.pairedId) + " kind " + std::to_string(kind) + " keys " +
                    std::to_string(covered.size()) + (store ? " stored" : ""));
    KeyRecord record = cap;
    record.keyId = cap.pairedId;
    record.capKind = kind;
    for (int index : covered) {
      c.keys[index].capKind = kCoveredByCap;
      c.keys[index].pairedId = cap.pairedId;
    }
    c.keys.push_back(record);
  };
  Log().clear();
  MacroContext c(events);
  c.keys = {Key(3), Key(4), Key(5)};
  c.keyCaps.push_back({kDoubleWideCap, 60, {3, 4}, 1, 2, 120, 60});
  c.keyCaps.push_back({kQuadCap, 61, {5, 77}, 1, 2, 120, 120});
  BuildKeyCapViews(c);
  BuildKeyCapViews(c);
  events.changeKeyCap = nullptr;
  EXPECT_EQ(Log(), (std::vector<std::string>{"cap 60 kind 2 keys 2", "cap 61 kind 4 keys 1",
                                             "cap 60 kind 2 keys 2", "cap 61 kind 4 keys 1"}));
  ASSERT_EQ(c.keys.size(), 5u);  // one record per cap, not two
  EXPECT_EQ(c.keys[3].keyId, 60);
  EXPECT_EQ(c.keys[3].key, (RectF{1, 2, 120, 60}));
  EXPECT_EQ(c.keys[0].capKind, kCoveredByCap);
  // Without the window's merge the old cap records still go.
  BuildKeyCapViews(c);
  EXPECT_EQ(c.keys.size(), 3u);
  EXPECT_EQ(c.keys[0].capKind, kPlainKey);
  EXPECT_EQ(c.keys[0].pairedId, 0);
}

TEST(KeyCaps, SpacersOfTheSetBecomeSpacersWhenTheViewIsBuilt) {
  FakeModelEvents events;
  MacroContext c(events);
  c.keys = {Key(3), Key(4), Key(5)};
  c.keys[2].capKind = kSpacerKey;  // from an earlier layout: no longer in the set
  c.spacers = {4, 200};  // 200: a key the view lacks
  // Without the window the key only gets the spacer kind.
  BuildKeyCapViews(c);
  EXPECT_EQ(c.keys[0].capKind, kPlainKey);
  EXPECT_EQ(c.keys[1].capKind, kSpacerKey);
  EXPECT_EQ(c.keys[2].capKind, kPlainKey);
  // With it the window makes each one a spacer (picture, disabled key), the lacking one too.
  events.showSpacer = [](MacroContext&, int id) { Log().push_back("spacer " + std::to_string(id)); };
  Log().clear();
  BuildKeyCapViews(c);
  EXPECT_EQ(Log(), (std::vector<std::string>{"spacer 4", "spacer 200"}));
}

// A device script in memory, regenerated as the build cycle does.
struct Regeneration {
  GoldenSetup g;
  std::string path;
  explicit Regeneration(const GoldenLayout& layout) : g(layout), path(g.device.ScriptPath()) {}
  bool Run(const std::string& file) {
    g.files.Put(path, file);
    MacroContext c;
    g.Attach(c);
    return RegenerateScript(c);
  }
  std::string File() { return *g.files.Get(path); }
};

const GoldenLayout& Golden(const std::string& name) {
  for (const GoldenLayout& l : GoldenLayouts())
    if (name == l.name) return l;
  return GoldenLayouts().front();
}

TEST(Regeneration, AGeneratedFileStaysAndNothingAUserWroteIsLost) {
  for (const GoldenLayout& layout : GoldenLayouts()) {
    Regeneration r(layout);
    const std::string golden = GoldenFile(layout.name);
    EXPECT_FALSE(r.Run(golden)) << layout.name;  // already in generated form
    EXPECT_EQ(r.File(), golden);
    EXPECT_TRUE(r.g.device.calls.empty()) << layout.name;
    // Saved with line feeds by an editor: back in the generated form.
    EXPECT_TRUE(r.Run(FromCrLf(golden))) << layout.name;
    EXPECT_EQ(r.File(), golden);
  }
  const std::string golden = FromCrLf(GoldenFile("plain_keys"));
  auto edited = [&](const std::string& from, const std::string& to) {
    std::string text = golden;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const struct {
    const char* what;
    std::string file;
  } kept[] = {
      {"a hand-written function", edited("//ORVX: Toggle Keys", "void Mine()\n{\n}\n//ORVX: Toggle Keys")},
      {"a function without a step marker",
       edited("//ORVX: Toggle Keys", "//fstart\nvoid KeyDown_3_Green_Pnr()\n{\nSendString(\"/x\");\n}//fend\n//ORVX: Toggle Keys")},
      {"a statement in QpadInit", edited("SetBacklights(true);\n", "SetBacklights(true);\nSetQpadLayer(1);\n")},
      {"an edit of a dispatcher", edited("\t\tcase 1:\n", "\t\tcase 2:\n")},
      {"a global", edited("int curScanCode;\n", "int curScanCode;\nint mine = 4;\n")},
      {"a script of its own", "void QpadInit() {}\nvoid KeyDown(int scanCode) { SendString(\"/mine\"); }\n"},
      {"a script with a step marker", "void KeyDown(int s)\n{\n//ORVX: \"x\"\n}\n"},
  };
  for (const auto& k : kept) {
    Regeneration r(Golden("plain_keys"));
    EXPECT_FALSE(r.Run(k.file)) << k.what;
    EXPECT_EQ(r.File(), k.file) << k.what;
  }
}

TEST(Regeneration, EmptyFilesAndTheDevicesOwnSection) {
  Regeneration r(Golden("device_specific"));
  // An empty file (as the setup wizard leaves it) becomes the empty layout.
  EXPECT_TRUE(r.Run(""));
  EXPECT_EQ(r.File(), ScriptFileBytes(MacroContext(), r.g.device.Settings()));
  EXPECT_TRUE(r.Run("\r\n  \r\n"));
  // A changed "Device Specific.oxs" is copied in again; a missing one leaves the section out.
  const std::string golden = GoldenFile("device_specific");
  r.g.files.Put(r.g.device.ScriptFolder() + "\\Device Specific.oxs", "// new\r\n");
  EXPECT_TRUE(r.Run(golden));
  EXPECT_NE(r.File().find("\r\n// new\r\n\r\n"), std::string::npos) << r.File();
  // The shared script of a device type is never written.
  r.g.device.scriptFolder = "C:\\Type";
  MacroContext c;
  r.g.Attach(c);
  struct SharedScript : FakeDevice {
    std::string ScriptPath() override { return "C:\\Type\\Script.oxs"; }
  } shared;
  c.device = &shared;
  r.g.files.Put("C:\\Type\\Script.oxs", "");
  EXPECT_FALSE(RegenerateScript(c));
  EXPECT_EQ(*r.g.files.Get("C:\\Type\\Script.oxs"), "");
}

TEST(Regeneration, TheFilesSettingsGoBackAsTheyWere) {
  Regeneration r(Golden("backlights_and_keyswitch"));
  r.g.device.settings.backlightsOn = false;  // whatever the device says now
  r.g.device.settings.keyswitchOn = true;
  const std::string golden = GoldenFile("backlights_and_keyswitch");
  EXPECT_FALSE(r.Run(golden));
  EXPECT_TRUE(r.Run(FromCrLf(golden)));
  EXPECT_EQ(r.File(), golden);
  EXPECT_TRUE(r.g.device.calls.empty());
}

class Teardown : public ::testing::Test {
 protected:
  void SetUp() override {
    Log().clear();
    events_.buildOnboardImage = [](MacroContext&) {
      Log().push_back("build image");
      return buildFits;
    };
    events_.writeOnboardImage = [](MacroContext&) { Log().push_back("write image"); };
    events_.releaseWindowState = [](MacroContext&) { Log().push_back("release window"); };
    events_.unloadPlugin = [](MacroContext&) { Log().push_back("unload plug-in"); };
    events_.removeMacroContext = [](MacroContext&) { Log().push_back("remove context"); };
  }
  void TearDown() override {
    EXPECT_EQ(LiveImages(), 0);  // every picture released once
  }
  std::unique_ptr<MacroContext> Context(FakeDevice& device) {
    auto c = std::make_unique<MacroContext>(events_);
    c->device = &device;
    KeyRecord key = Key(1);
    for (auto& image : key.images) image = std::make_shared<FakeImage>(1, 1, L"x");
    c->keys = {key, key};  // copies share their pictures
    c->view.lock = std::make_shared<FakeImage>(1, 1, L"lock");
    return c;
  }
  static inline bool buildFits = true;
  FakeModelEvents events_;
};

TEST_F(Teardown, ClosingTheWindowEndsProgrammingInItsOrder) {
  FakeDevice device;
  device.onboard = true;
  buildFits = true;
  auto c = Context(device);
  std::atomic<int>& period = c->blinkPeriod;
  c->blinkWorker = true;
  period = 500;
  // The worker reads the period once per round and answers a stop with 0.
  std::thread worker([&] {
    while (TakeBlinkPeriod(period) >= 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  });
  CloseMacroContext(std::move(c), false);
  worker.join();
  EXPECT_EQ(Log(), (std::vector<std::string>{"build image", "release window", "unload plug-in", "write image",
                                             "remove context"}));
  EXPECT_EQ(device.calls, (std::vector<std::string>{"end programming", "wake"}));
}

TEST_F(Teardown, ARegenerationTouchesNothingButItsContext) {
  FakeDevice device;
  device.onboard = false;
  auto c = Context(device);
  c->blinkWorker = true;  // no worker answers: no wait for one in a regeneration
  CloseMacroContext(std::move(c), true);
  EXPECT_TRUE(device.calls.empty());
  EXPECT_EQ(Log(), (std::vector<std::string>{"unload plug-in"}));
}

TEST_F(Teardown, AnImageThatDoesNotFitIsNotWrittenAndAMissingWorkerIsNotWaitedFor) {
  FakeDevice device;
  device.onboard = true;
  buildFits = false;
  auto c = Context(device);
  const auto start = std::chrono::steady_clock::now();
  CloseMacroContext(std::move(c), false);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(Log(), (std::vector<std::string>{"build image", "release window", "unload plug-in", "remove context"}));
  std::atomic<int> period{-1};
  EXPECT_EQ(TakeBlinkPeriod(period), -1);
  EXPECT_EQ(period.load(), 0);
  EXPECT_EQ(TakeBlinkPeriod(period), 0);
}

}  // namespace
