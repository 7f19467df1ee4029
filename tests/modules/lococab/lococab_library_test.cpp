// Lococab.dll as its two sides use it: its exports in this process, and its block shared with
// a peer process that runs commands against its own copy of the library.
#include "tests/modules/lococab/lococab_library.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace lococabtest;
using namespace testsupport;

namespace {

std::string Bin() { return EnvOr("ORVANE_BIN"); }

// The peer's printed results for its commands.
std::string RunPeer(const std::vector<std::string>& commands, unsigned timeoutMs = 10000) {
  std::string line = "\"" + Bin() + "\\lococab_peer.exe\"";
  for (const std::string& c : commands) line += " " + c;
  const CapturedRun run = RunCaptured(line, timeoutMs);
  if (!run.finished) return "<peer did not finish>";
  std::string out = run.out;
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

// Each case loads the library afresh: with no other process holding it, the block starts
// from its initial values.
class Lococab : public ::testing::Test {
 protected:
  void SetUp() override {
    lib_ = std::make_unique<LococabLibrary>(Bin() + "\\Lococab.dll");
    ASSERT_TRUE(lib_->ok()) << "missing exports: " << lib_->missing();
  }
  std::string Run(const std::vector<std::string>& commands) { return RunCommands(*lib_, commands); }
  std::unique_ptr<LococabLibrary> lib_;
};

TEST_F(Lococab, SequencesOfCallsGiveTheirResults) {
  const struct {
    const char* what;
    std::vector<std::string> commands;
    const char* results;
  } cases[] = {
      {"a fresh block",
       {"GetLococabConnected", "GetVeltrakConnected", "GetVeltrakLocoChanged",
        "GetVeltrakLocoChanged", "GetLococabGetId", "GetNextLococabId:-1",
        "GetVeltrakCombinedThrottleBrake", "GetLococabGetType"},
       "0;0;1;0;-1;-1;0;0;"},
      {"byte results reach an int caller alone",
       {"SetLococabConnected:511", "GetLococabConnected", "SetVeltrakConnected:-1",
        "GetVeltrakConnected", "SetLococabLocoChanged:0x180", "GetVeltrakCombinedThrottleBrake"},
       ";255;;255;;0;"},
      {"a disconnect raises loco changed",
       {"GetVeltrakLocoChanged", "SetLococabConnected:0", "GetVeltrakLocoChanged"},
       "1;;1;"},
      {"the edges of the slot table",
       {"SetVeltrakValue:57:4.5", "SetVeltrakValue:58:1", "SetVeltrakValue:-1:1",
        "GetNextLococabId:-1", "GetLococabValue:57", "GetLococabValue:58", "GetNextLococabId:-1"},
       ";;;57;4.5;0;-1;"},
      {"walking the published values",
       {"SetVeltrakValue:5:1.5", "SetVeltrakValue:9:2.0", "GetNextLococabId:-1",
        "GetNextLococabId:5", "GetNextLococabId:9", "GetLococabValue:5", "GetNextLococabId:-1"},
       ";;5;9;-1;1.5;9;"},
      {"a slot that is not requestable",
       {"GetVeltrakValue:9:3", "GetLococabGetId", "GetLococabGetType"},
       "0;-1;0;"},
      {"an answer without a request", {"SetLococabValue:27:3.0", "GetLococabGetId"}, ";-1;"},
  };
  for (const auto& c : cases) {
    SetUp();  // a fresh block for each
    EXPECT_EQ(Run(c.commands), c.results) << c.what;
  }
}

TEST_F(Lococab, AnUnansweredRequestTimesOutAndStaysVisible) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(lib_->GetVeltrakValue(27, 5), 0.0f);
  const DWORD waited = GetTickCount() - start;
  EXPECT_GE(waited, 50u);  // 100 sleeps of 1 ms: about 100 ms here, more on a coarse timer
  EXPECT_LT(waited, 3000u);
  EXPECT_EQ(lib_->GetLococabGetId(), 27);
  EXPECT_EQ(lib_->GetLococabGetType(), 5);

  const DWORD before = GetTickCount();
  EXPECT_EQ(lib_->GetVeltrakValue(9, 5), 0.0f);  // not requestable: at once
  EXPECT_LT(GetTickCount() - before, 20u);
}

TEST_F(Lococab, AnAnswerFromAnotherThreadEndsTheWaitEarly) {
  std::thread controller([&] {
    while (lib_->GetLococabGetId() != 27) Sleep(1);
    lib_->SetLococabValue(27, 3.0f);
  });
  const DWORD start = GetTickCount();
  EXPECT_EQ(lib_->GetVeltrakValue(27, 1), 3.0f);
  EXPECT_LT(GetTickCount() - start, 90u);
  controller.join();
}

TEST_F(Lococab, ThePeerSeesThisProcesssBlockAndThisProcessSeesThePeers) {
  Run({"SetLococabConnected:1", "GetVeltrakLocoChanged"});
  EXPECT_EQ(RunPeer({"GetLococabConnected", "GetVeltrakLocoChanged", "SetVeltrakConnected:1",
                     "SetVeltrakValue:5:1.5", "SetVeltrakValue:9:2"}),
            "1;0;;;;");
  EXPECT_EQ(Run({"GetVeltrakConnected", "GetNextLococabId:-1", "GetLococabValue:5",
                 "GetNextLococabId:-1", "GetLococabValue:9"}),
            "1;5;1.5;9;2;");
}

TEST_F(Lococab, ARequestOfThePeerIsAnsweredFromThisProcess) {
  std::string peer;
  std::thread simulator([&] { peer = RunPeer({"GetVeltrakValue:30:7", "GetLococabGetId"}); });
  const bool seen = WaitUntil([&] { return lib_->GetLococabGetId() == 30; }, 10000, 1);
  EXPECT_TRUE(seen);
  if (seen) {
    EXPECT_EQ(lib_->GetLococabGetType(), 7);
    lib_->SetLococabValue(30, 6.25f);
  }
  simulator.join();
  EXPECT_EQ(peer, "6.25;-1;");
}

TEST_F(Lococab, ThePeerAnswersARequestOfThisProcess) {
  // The request stays pending after its wait, so the peer finds it however slowly it starts.
  EXPECT_EQ(lib_->GetVeltrakValue(27, 2), 0.0f);
  EXPECT_EQ(RunPeer({"GetLococabGetType", "AwaitRequest:27:1.5:5000", "GetLococabGetId"}),
            "2;answered;-1;");
  EXPECT_EQ(lib_->GetLococabGetId(), -1);
}

TEST_F(Lococab, TheBlockLastsWhileAProcessHoldsItAndStartsAfreshAfterTheLast) {
  EXPECT_EQ(RunPeer({"SetVeltrakConnected:1"}), ";");
  EXPECT_EQ(RunPeer({"GetVeltrakConnected"}), "1;");  // this process held the block
  lib_.reset();
  EXPECT_EQ(RunPeer({"GetVeltrakConnected", "SetVeltrakConnected:1"}), "0;;");
  EXPECT_EQ(RunPeer({"GetVeltrakConnected", "GetVeltrakLocoChanged"}), "0;1;");
}

}  // namespace
