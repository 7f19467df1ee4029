#include "ui/key_caps/key_cap_commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/ui/key_caps/key_cap_fixture.h"

using namespace testsupport;

namespace {

struct Case {
  const char* name;
  std::set<int> spacers;     // installed before
  std::vector<int> held;     // the keys the device holds down
  std::vector<bool> answers;  // to the questions, in order
  std::string events;
  std::set<int> spacersAfter;
};

void RunCommand(const Case& k, void (*command)(MacroContext&, KeyCapCommandPort&)) {
  MacroContext c;
  c.keys = PadKeys();
  RecordingPort port;
  for (int s : k.spacers) ASSERT_TRUE(SetKeySpacer(c, s, true, port));
  // Key 0 lies under a cap.
  ASSERT_EQ(ChangeKeyCap(c, KeyRecord{}, {FindKeyIndex(c.keys, 0), FindKeyIndex(c.keys, 1)}, kDoubleWideCap,
                         false, port),
            8);
  port.events.clear();
  port.held = k.held;
  port.answers = k.answers;
  command(c, port);
  EXPECT_EQ(port.Events(), k.events) << k.name;
  EXPECT_EQ(c.spacers, k.spacersAfter) << k.name;
  for (int key : k.spacersAfter) EXPECT_EQ(c.keys[FindKeyIndex(c.keys, key)].capKind, kSpacerKey) << k.name;
}

TEST(AddKeyCapsCommand, FindsNewSpacersAmongTheHeldKeysElseWaitsForACap) {
  const Case cases[] = {
      {"cancelled", {}, {3}, {false}, "ask Install Your Key-Cap", {}},
      {"nothing held", {}, {}, {}, "ask Install Your Key-Cap, flush, detection dialog", {}},
      {"a new spacer",
       {},
       {3},
       {true, true},
       "ask Install Your Key-Cap, flush, ask Spacers Detected, disable 3, redraw, write",
       {3}},
      {"two new spacers, one question",
       {},
       {3, 20},
       {true, true},
       "ask Install Your Key-Cap, flush, ask Spacers Detected, disable 3, redraw, disable 20, redraw, write",
       {3, 20}},
      {"not a spacer after all",
       {},
       {3},
       {true, false},
       "ask Install Your Key-Cap, flush, ask Spacers Detected, detection dialog",
       {}},
      {"the spacers held are known",
       {3},
       {3},
       {},
       "ask Install Your Key-Cap, flush, detection dialog",
       {3}},
      {"one known, one new",
       {3},
       {3, 4},
       {},
       "ask Install Your Key-Cap, flush, ask Spacers Detected, disable 4, redraw, write",
       {3, 4}},
      // A key the view lacks, and a held cap, are no spacers.
      {"keys that take no spacer", {}, {0, 9}, {}, "ask Install Your Key-Cap, flush, detection dialog", {}},
  };
  for (const Case& k : cases) RunCommand(k, AddKeyCapsCommand);
}

TEST(RemoveKeyCapsCommand, FindsSpacersTakenOutElseWaitsForACapsKey) {
  const Case cases[] = {
      {"nothing installed", {}, {}, {}, "flush, removal dialog, flush", {}},
      {"every spacer still in", {3, 20}, {3, 20}, {}, "flush, removal dialog, flush", {3, 20}},
      {"one taken out",
       {3, 20},
       {20, 5},
       {true},
       "flush, ask Spacers Removed, enable 3, redraw, write",
       {20}},
      {"both taken out",
       {3, 20},
       {},
       {true},
       "flush, ask Spacers Removed, enable 3, redraw, enable 20, redraw, write",
       {}},
      {"not taken out after all",
       {3},
       {},
       {false},
       "flush, ask Spacers Removed, removal dialog, flush",
       {3}},
  };
  for (const Case& k : cases) RunCommand(k, RemoveKeyCapsCommand);
}

TEST(KeyCapCommands, TheQuestionsReadAsTheProgramAsks) {
  EXPECT_STREQ(TextOf(KeyCapQuestion::kInstall).text,
               "Please install the double-key, quad-key, or spacer and then press ok.");
  EXPECT_FALSE(TextOf(KeyCapQuestion::kInstall).yesNo);
  EXPECT_STREQ(TextOf(KeyCapQuestion::kSpacersDetected).text,
               "Orvane has detected one or more new spacers installed.  Is this correct?");
  EXPECT_STREQ(TextOf(KeyCapQuestion::kSpacersRemoved).text,
               "Orvane has detected one or more spacers have been removed.  Is this correct?");
  EXPECT_TRUE(TextOf(KeyCapQuestion::kSpacersRemoved).yesNo);
}

TEST(KeyCapCommands, ADetectedCapIsMergedAndStored) {
  MacroContext c;
  c.keys = PadKeys();
  RecordingPort port;
  EXPECT_TRUE(MakeDetectedKeyCap(c, {kDoubleTallCap, {5, 19}}, port));
  ASSERT_EQ(c.keyCaps.size(), 1u);
  EXPECT_EQ(c.keyCaps[0].covered, (std::vector<std::uint8_t>{5, 19}));
  EXPECT_EQ(port.Events(), "redraw, write");
  EXPECT_FALSE(MakeDetectedKeyCap(c, {kDoubleWideCap, {4, 9}}, port));  // 9 is no key
}

}  // namespace
