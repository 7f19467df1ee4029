// The platform-free parts of VHXHID (hex bytes, handle numbers, change baseline, the shared
// block of the simulation) and the library's enumeration rules over a fake backend.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>

#include "platform/vhxhid/handle_table.h"
#include "platform/vhxhid/hex_bytes.h"
#include "platform/vhxhid/hid_library.h"
#include "platform/vhxhid/sim_block.h"

namespace {

using namespace vhx;

TEST(HexBytes, ParsesAndFormatsPairs) {
  struct Case {
    const char* text;
    bool ok;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"0000ff10", true, {0x00, 0x00, 0xFF, 0x10}},
      {"AbcD", true, {0xAB, 0xCD}},
      {"", true, {}},
      {"abc", false, {}},     // odd length
      {"0g", false, {}},      // not a digit
      {"00 11", false, {}},   // no separators
      {"0x10", false, {}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> out = {0x55};
    EXPECT_EQ(ParseHexBytes(c.text, out), c.ok) << c.text;
    EXPECT_EQ(out, c.bytes) << c.text;
  }
  std::vector<uint8_t> bytes = {0x00, 0x0A, 0xFF, 0x7C};
  EXPECT_EQ(FormatHexBytes(bytes), "000aff7c");
}

TEST(HandleTable, MergeKeepsNumbersAndNumbersNewKeysPastOldOnes) {
  HandleTable table;
  EXPECT_EQ(table.Renumber({"a", "b", "c"}), (std::vector<int>{0, 1, 2}));
  // "b" left, "d" arrived: a and c keep theirs, d gets a number nobody had.
  EXPECT_EQ(table.Merge({"c", "d", "a"}), (std::vector<int>{2, 3, 0}));
  EXPECT_EQ(table.Merge({"d", "e"}), (std::vector<int>{3, 4}));
  ASSERT_NE(table.KeyOf(1), nullptr);
  EXPECT_EQ(*table.KeyOf(1), "b");  // still valid for the one who holds it open
  EXPECT_EQ(table.Renumber({"e", "a"}), (std::vector<int>{0, 1}));
  EXPECT_EQ(table.KeyOf(2), nullptr);
  EXPECT_EQ(*table.KeyOf(0), "e");
}

TEST(ChangeTracker, ReportsEachChangeOnce) {
  ChangeTracker tracker;
  tracker.Reset({"a", "b"});
  struct Step {
    std::vector<std::string> now;
    int arrived, removed;
  } steps[] = {
      {{"a", "b"}, 0, 0},
      {{"a"}, 0, 1},
      {{"a"}, 0, 0},
      {{"a", "c", "d"}, 2, 0},
      {{"c", "e"}, 1, 2},  // a mode switch looks like this: one left, one came
      {{"c", "e"}, 0, 0},
  };
  for (const Step& s : steps) {
    DeviceChange change = tracker.Poll(s.now);
    EXPECT_EQ(change.arrived, s.arrived);
    EXPECT_EQ(change.removed, s.removed);
  }
}

class SimBlockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    storage_.resize(sizeof(sim::Block));
    block_ = reinterpret_cast<sim::Block*>(storage_.data());
    sim::InitBlock(*block_);
  }
  sim::Device& Add(uint32_t in = 4, uint32_t out = 3, uint32_t switchPid = 0) {
    sim::DeviceSpec spec = sim::DefaultSpec();
    spec.inputLength = in;
    spec.outputLength = out;
    spec.switchProductId = switchPid;
    int id = sim::AddDevice(*block_, spec);
    EXPECT_GT(id, 0);
    return *sim::FindDevice(*block_, id);
  }
  std::vector<uint64_t> storage_;  // 8-byte aligned
  sim::Block* block_ = nullptr;
};

TEST_F(SimBlockTest, StaleOrForeignBlocksAreNotReady) {
  EXPECT_TRUE(sim::BlockReady(*block_));
  block_->layout = sim::kLayoutVersion + 1;
  EXPECT_FALSE(sim::BlockReady(*block_));
  std::fill(storage_.begin(), storage_.end(), 0);
  EXPECT_FALSE(sim::BlockReady(*block_));
}

TEST_F(SimBlockTest, IdsAreNotReusedAndTheTableHasAnEnd) {
  sim::Device& first = Add();
  uint32_t firstId = first.id;
  ASSERT_TRUE(sim::RemoveDevice(*block_, firstId));
  EXPECT_EQ(sim::FindDevice(*block_, firstId), nullptr);
  EXPECT_FALSE(sim::RemoveDevice(*block_, firstId));
  std::vector<uint32_t> ids;
  for (int i = 0; i < sim::kMaxDevices; ++i) ids.push_back(Add().id);
  EXPECT_EQ(std::count(ids.begin(), ids.end(), firstId), 0);
  EXPECT_EQ(sim::AddDevice(*block_, sim::DefaultSpec()), sim::kTableFull);
}

TEST_F(SimBlockTest, RejectsSpecsTheBlockCannotHold) {
  sim::DeviceSpec spec = sim::DefaultSpec();
  spec.inputLength = 0;
  EXPECT_EQ(sim::AddDevice(*block_, spec), sim::kBadSpec);
  spec.inputLength = sim::kMaxReportBytes + 1;
  EXPECT_EQ(sim::AddDevice(*block_, spec), sim::kBadSpec);
  spec = sim::DefaultSpec();
  spec.outputLength = sim::kMaxReportBytes + 1;
  EXPECT_EQ(sim::AddDevice(*block_, spec), sim::kBadSpec);
  spec = sim::DefaultSpec();
  spec.productId = 0x10000;
  EXPECT_EQ(sim::AddDevice(*block_, spec), sim::kBadSpec);
  // A cab controller's report reaches its build byte.
  spec = sim::CabSpec();
  spec.inputLength = sim::kCabMinReportBytes - 1;
  EXPECT_EQ(sim::AddDevice(*block_, spec), sim::kBadSpec);
  spec.inputLength = sim::kCabMinReportBytes;
  EXPECT_GT(sim::AddDevice(*block_, spec), 0);
}

TEST_F(SimBlockTest, ACabControllerHoldsItsLeversAndReportsEveryChange) {
  const int id = sim::AddDevice(*block_, sim::CabSpec());
  ASSERT_GT(id, 0);
  sim::Device& cab = *sim::FindDevice(*block_, id);
  EXPECT_EQ(cab.spec.productId, 0xD2u);
  EXPECT_EQ(cab.spec.usagePage, 0x0Cu);
  EXPECT_EQ(cab.input.count, 0u) << "nothing before the host opens it";
  using Bytes = std::vector<uint8_t>;
  auto take = [&] {
    Bytes out(16, 0xEE);
    EXPECT_TRUE(sim::TakeInput(cab, out.data(), out.size()));
    return out;
  };
  Bytes expected(16, 0);
  expected[14] = 0xD2;
  expected[15] = 1;
  sim::ModelOnOpen(cab);
  EXPECT_EQ(take(), expected) << "opened, it reports where its levers are";

  ASSERT_EQ(sim::SetHeldByte(cab, 1, 171), sim::kOk);
  ASSERT_EQ(sim::SetHeldByte(cab, 5, 80), sim::kOk);
  expected[1] = 171;
  Bytes both = expected;
  both[5] = 80;
  EXPECT_EQ(take(), expected);
  EXPECT_EQ(take(), both) << "each change reports the whole held state";
  uint8_t none[16];
  EXPECT_FALSE(sim::TakeInput(cab, none, sizeof none)) << "a lever held still sends nothing";
  sim::ModelOnOpen(cab);
  EXPECT_EQ(take(), both);

  // A short report queued by hand holds its own bytes; a later change fills the rest with 0.
  const uint8_t shortReport[3] = {0, 9, 9};
  ASSERT_EQ(sim::QueueInput(cab, shortReport, 3), sim::kOk);
  take();
  ASSERT_EQ(sim::SetHeldByte(cab, 6, 60), sim::kOk);
  Bytes refilled(16, 0);
  refilled[1] = refilled[2] = 9;
  refilled[6] = 60;
  EXPECT_EQ(take(), refilled);

  EXPECT_EQ(sim::SetHeldByte(cab, 16, 1), sim::kBadLength);
  EXPECT_EQ(sim::SetHeldByte(cab, -1, 1), sim::kBadLength);
  EXPECT_EQ(sim::SetHeldByte(Add(), 1, 1), sim::kBadSpec) << "only a cab controller holds levers";
}

TEST_F(SimBlockTest, InputIsReadOldestFirstZeroPaddedAndBounded) {
  sim::Device& d = Add(4);
  const uint8_t longer[5] = {1, 2, 3, 4, 5};
  EXPECT_EQ(sim::QueueInput(d, longer, 5), sim::kBadLength);
  EXPECT_EQ(sim::QueueInput(d, longer, 0), sim::kBadLength);
  const uint8_t a[2] = {0xAA, 0x01};
  const uint8_t b[4] = {0xBB, 2, 3, 4};
  ASSERT_EQ(sim::QueueInput(d, a, 2), sim::kOk);
  ASSERT_EQ(sim::QueueInput(d, b, 4), sim::kOk);
  uint8_t out[4];
  ASSERT_TRUE(sim::TakeInput(d, out, 4));
  EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{0xAA, 1, 0, 0}));
  ASSERT_TRUE(sim::TakeInput(d, out, 4));
  EXPECT_EQ(out[0], 0xBB);
  EXPECT_FALSE(sim::TakeInput(d, out, 4));
}

TEST_F(SimBlockTest, AFullQueueDropsItsOldestReport) {
  sim::Device& d = Add(2);
  for (int i = 0; i < sim::kInputSlots + 3; ++i) {
    uint8_t r[2] = {static_cast<uint8_t>(i), 0};
    sim::QueueInput(d, r, 2);
  }
  EXPECT_EQ(d.input.count, static_cast<uint32_t>(sim::kInputSlots));
  EXPECT_EQ(d.input.dropped, 3u);
  uint8_t out[2];
  int expected = 3;
  while (sim::TakeInput(d, out, 2)) EXPECT_EQ(out[0], static_cast<uint8_t>(expected++));
  EXPECT_EQ(expected, sim::kInputSlots + 3);
}

TEST_F(SimBlockTest, WritesAreRecordedUnlessRefused) {
  sim::Device& d = Add(4, 3);
  const uint8_t report[3] = {2, 0xC5, 7};
  ASSERT_EQ(sim::WriteOutput(d, report), sim::kOk);
  d.failWrites = 1;
  EXPECT_EQ(sim::WriteOutput(d, report), sim::kWriteRefused);
  sim::Report taken;
  ASSERT_TRUE(sim::PopReport(d.output, taken));
  EXPECT_EQ(taken.length, 3);
  EXPECT_EQ(taken.bytes[1], 0xC5);
  EXPECT_FALSE(sim::PopReport(d.output, taken));
  sim::Device& noOutput = Add(4, 0);
  EXPECT_EQ(sim::WriteOutput(noOutput, report), sim::kWriteRefused);
}

TEST_F(SimBlockTest, ModeSwitchReplacesTheDeviceUnderTheOtherProductId) {
  sim::Device& d = Add(4, 3, 0x1A);
  uint32_t oldId = d.id;
  int newId = sim::SwitchDeviceMode(*block_, oldId);
  ASSERT_GT(newId, static_cast<int>(oldId));
  EXPECT_EQ(sim::FindDevice(*block_, oldId), nullptr);
  sim::Device* back = sim::FindDevice(*block_, newId);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->spec.productId, 0x1Au);
  EXPECT_EQ(back->spec.switchProductId, 0x19u);  // and can switch back
  EXPECT_EQ(sim::SwitchDeviceMode(*block_, Add().id), sim::kNoSwitch);
  EXPECT_EQ(sim::SwitchDeviceMode(*block_, 999), sim::kNoSuchDevice);
}

TEST_F(SimBlockTest, CorruptRingHeadsReadAsEmpty) {
  sim::Device& d = Add();
  d.input.head = 1000;
  d.input.count = 5;
  uint8_t out[4];
  EXPECT_FALSE(sim::TakeInput(d, out, 4));
  EXPECT_EQ(d.input.count, 0u);
}

constexpr auto kOrdinal3 = Library::Numbering::RenumberKeepingUse;
constexpr auto kOrdinal10 = Library::Numbering::Renumber;
constexpr auto kOrdinal35 = Library::Numbering::KeepNumbers;

// A backend of made-up interfaces, for the enumeration rules.
class FakeBackend : public Backend {
 public:
  std::vector<InterfaceInfo> present;
  bool Enumerate(std::vector<InterfaceInfo>& out) override {
    out = present;
    return true;
  }
  EventPair CreateEvents(const InterfaceInfo&) override { return MakeLocalEvents(); }
  std::unique_ptr<Port> Open(const InterfaceInfo&, const EventPair*) override { return nullptr; }
  bool SwitchMode(const InterfaceInfo&) override { return false; }
};

InterfaceInfo Info(const std::string& key, int pid, int page = 12, int vendor = 0x0A7C) {
  InterfaceInfo info;
  info.key = key;
  info.vendorId = vendor;
  info.productId = pid;
  info.usagePage = page;
  info.usage = page == 1 ? 6 : 1;
  info.inputLength = 9;
  info.outputLength = 9;
  return info;
}

TEST(LibraryEnumeration, NeverWritesPastTheCallersRoom) {
  struct Case {
    int present, room, expected;
  } cases[] = {{130, VHX_MAX_ENTRIES, 128}, {30, VHX_CAL_MAX_ENTRIES, 25}, {3, 25, 3}};
  for (const Case& c : cases) {
    auto backend = std::make_unique<FakeBackend>();
    for (int i = 0; i < c.present; ++i) backend->present.push_back(Info(std::to_string(i), i));
    Library library(std::move(backend));
    std::vector<VhxEntry> entries(c.room + 8, VhxEntry{-7, -7, -7, -7});
    int count = -1;
    ASSERT_EQ(library.Enumerate(0x0A7C, entries.data(), &count, c.room, kOrdinal3), VHX_OK);
    EXPECT_EQ(count, c.expected);
    for (int i = c.room; i < c.room + 8; ++i) EXPECT_EQ(entries[i].handle, -7) << i;
  }
}

TEST(LibraryEnumeration, FiltersByVendorAndListsPage12First) {
  auto backend = std::make_unique<FakeBackend>();
  backend->present = {Info("kbd", 0x19, 1), Info("other", 0x19, 12, 0x1234),
                      Info("keys", 0x19, 12), Info("cab", 0xD2, 12)};
  Library library(std::move(backend));
  VhxEntry entries[VHX_MAX_ENTRIES];
  int count = 0;
  ASSERT_EQ(library.Enumerate(0x0A7C, entries, &count, VHX_MAX_ENTRIES, kOrdinal3), VHX_OK);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(entries[0].usagePage, 12);
  EXPECT_EQ(entries[0].productId, 0x19);
  EXPECT_EQ(entries[1].productId, 0xD2);
  EXPECT_EQ(entries[2].usagePage, 1);
  EXPECT_EQ(entries[2].usage, 6);
  for (int i = 0; i < count; ++i) EXPECT_EQ(entries[i].handle, i);
}

TEST(LibraryEnumeration, KeepOpenEnumerationKeepsHandlesAndTheChangeBaseline) {
  auto owned = std::make_unique<FakeBackend>();
  FakeBackend* backend = owned.get();
  backend->present = {Info("a", 1), Info("b", 2)};
  Library library(std::move(owned));
  VhxEntry e[VHX_MAX_ENTRIES];
  int count = 0;
  ASSERT_EQ(library.Enumerate(0x0A7C, e, &count, VHX_MAX_ENTRIES, kOrdinal3), VHX_OK);
  HANDLE read = nullptr, removal = nullptr;
  library.SetUp(1, &read, &removal);  // cannot open, but the pair is the handle's
  ASSERT_NE(read, nullptr);

  backend->present = {Info("c", 3), Info("b", 2)};
  ASSERT_EQ(library.Enumerate(0x0A7C, e, &count, VHX_MAX_ENTRIES, kOrdinal35), VHX_OK);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(e[0].productId, 3);
  EXPECT_EQ(e[0].handle, 2);  // new: past every number handed out
  EXPECT_EQ(e[1].handle, 1);  // kept
  HANDLE read2 = nullptr, removal2 = nullptr;
  library.SetUp(1, &read2, &removal2);
  EXPECT_EQ(read2, read);
  EXPECT_EQ(removal2, removal);
  EXPECT_EQ(library.InputLength(0), 9);  // "a" left, but its holder's handle stays answerable

  int arrived = -1, removed = -1;
  ASSERT_EQ(library.PollChanges(0x0A7C, &arrived, &removed), VHX_OK);
  EXPECT_EQ(arrived, 1);  // the keep-open enumeration did not swallow the change
  EXPECT_EQ(removed, 1);
}

// Interfaces whose reports the test queues, one queue per interface whatever opens it; every
// open and close is counted.
class QueueBackend : public FakeBackend {
 public:
  struct Device {
    std::deque<std::vector<uint8_t>> queue;
    HANDLE read = nullptr;
    int opens = 0;
    int closes = 0;
  };
  std::map<std::string, Device> devices;

  void Queue(const std::string& key, uint8_t first) {
    Device& d = devices[key];
    d.queue.push_back(std::vector<uint8_t>(9, first));
    if (d.read) SetEvent(d.read);
  }

  std::unique_ptr<Port> Open(const InterfaceInfo& info, const EventPair* events) override {
    Device& d = devices[info.key];
    ++d.opens;
    d.read = events ? events->read.get() : nullptr;
    if (d.read && !d.queue.empty()) SetEvent(d.read);
    return std::make_unique<QueuePort>(d);
  }

 private:
  class QueuePort : public Port {
   public:
    explicit QueuePort(Device& d) : d_(d) {}
    ~QueuePort() override { ++d_.closes; }
    bool Read(uint8_t* buffer) override {
      if (d_.queue.empty()) {
        if (d_.read) ResetEvent(d_.read);
        return false;
      }
      std::copy(d_.queue.front().begin(), d_.queue.front().end(), buffer);
      d_.queue.pop_front();
      return true;
    }
    bool Write(const uint8_t*) override { return true; }
    void Discard() override { d_.queue.clear(); }
    bool Failed() override { return false; }

   private:
    Device& d_;
  };
};

// The device thread's build cycle enumerates anew while its keypads stay attached: what a keypad
// sends meanwhile is not lost, and its set-up begins with the report read last, which the
// reports queued since follow. The calibration program's enumeration and a closed interface
// start afresh.
TEST(LibraryEnumeration, AnInterfaceInUseStaysOpenOverTheNextEnumerationWithItsReports) {
  auto owned = std::make_unique<QueueBackend>();
  QueueBackend* backend = owned.get();
  backend->present = {Info("a", 1), Info("b", 2), Info("c", 3)};
  Library library(std::move(owned));
  VhxEntry e[VHX_MAX_ENTRIES];
  int count = 0;
  uint8_t report[9] = {};
  ASSERT_EQ(library.Enumerate(0x0A7C, e, &count, VHX_MAX_ENTRIES, kOrdinal3), VHX_OK);
  HANDLE readA = nullptr, readB = nullptr;
  ASSERT_EQ(library.SetUp(0, &readA, nullptr), VHX_OK);
  ASSERT_EQ(library.SetUp(1, &readB, nullptr), VHX_OK);
  ASSERT_EQ(library.SetUp(2, nullptr, nullptr), VHX_OK);
  for (int handle : {0, 1, 2}) {
    backend->Queue(std::string(1, static_cast<char>('a' + handle)), 1);
    ASSERT_EQ(library.Read(handle, report), VHX_OK);
  }
  ASSERT_EQ(library.Close(2), VHX_OK);
  backend->Queue("a", 2);
  backend->Queue("b", 7);

  // "b" left; "d" came first and takes number 0.
  backend->present = {Info("d", 4), Info("a", 1), Info("c", 3)};
  ASSERT_EQ(library.Enumerate(0x0A7C, e, &count, VHX_MAX_ENTRIES, kOrdinal3), VHX_OK);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(e[1].handle, 1);
  backend->Queue("a", 3);
  EXPECT_EQ(backend->devices["a"].opens, 1);
  EXPECT_EQ(backend->devices["a"].closes, 0);
  EXPECT_EQ(backend->devices["b"].closes, 1) << "gone";
  HANDLE read = nullptr;
  ASSERT_EQ(library.SetUp(1, &read, nullptr), VHX_OK);
  EXPECT_EQ(read, readA) << "its events go with it";
  EXPECT_EQ(WaitForSingleObject(read, 0), WAIT_OBJECT_0);
  std::vector<int> got;
  while (library.Read(1, report) == VHX_OK) got.push_back(report[0]);
  EXPECT_EQ(got, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(WaitForSingleObject(read, 0), WAIT_TIMEOUT);
  ASSERT_EQ(library.SetUp(1, &read, nullptr), VHX_OK);
  EXPECT_NE(library.Read(1, report), VHX_OK) << "handed out again only once";

  // Closed before the enumeration: opened anew, nothing handed out again.
  ASSERT_EQ(library.SetUp(2, nullptr, nullptr), VHX_OK);
  EXPECT_EQ(backend->devices["c"].opens, 2);
  EXPECT_NE(library.Read(2, report), VHX_OK);

  // The calibration program's enumeration closes every interface.
  ASSERT_EQ(library.Enumerate(0x0A7C, e, &count, VHX_MAX_ENTRIES, kOrdinal10), VHX_OK);
  EXPECT_EQ(backend->devices["a"].closes, 1);
  backend->Queue("a", 4);
  ASSERT_EQ(library.SetUp(1, &read, nullptr), VHX_OK);
  EXPECT_EQ(backend->devices["a"].opens, 2);
  ASSERT_EQ(library.Read(1, report), VHX_OK);
  EXPECT_EQ(report[0], 4);
}

TEST(LibraryEnumeration, NullArgumentsAreRefused) {
  Library library(std::make_unique<FakeBackend>());
  VhxEntry e[1];
  int count = 0;
  EXPECT_NE(library.Enumerate(0x0A7C, nullptr, &count, 1, kOrdinal3), VHX_OK);
  EXPECT_NE(library.Enumerate(0x0A7C, e, nullptr, 1, kOrdinal3), VHX_OK);
  EXPECT_EQ(library.PollChanges(0x0A7C, nullptr, nullptr), VHX_OK);
}

}  // namespace

TEST_F(SimBlockTest, ArmedRepliesAnswerTheNextOutputOnce) {
  sim::Device& plain = Add(4, 3);
  const uint8_t replies[] = {3, 1, 0, 0, 3, 2, 0, 0};
  EXPECT_EQ(sim::ArmScriptedReplies(plain, replies, 4, 2, 0), sim::kBadSpec);
  sim::Device& d = Add(4, 3);
  d.spec.model = sim::kModelScriptedReplies;
  EXPECT_EQ(sim::ArmScriptedReplies(d, replies, 5, 1, 0), sim::kBadLength);  // past the input
  EXPECT_EQ(sim::ArmScriptedReplies(d, replies, 4, sim::kMaxScriptedReplies + 1, 0),
            sim::kBadLength);
  ASSERT_EQ(sim::ArmScriptedReplies(d, replies, 4, 2, 1), sim::kOk);
  uint8_t in[4];
  EXPECT_FALSE(sim::TakeInput(d, in, sizeof in));  // nothing before the request
  const uint8_t request[3] = {2, 0xB0, 0};
  ASSERT_EQ(sim::WriteOutput(d, request), sim::kOk);
  EXPECT_FALSE(sim::TakeInput(d, in, sizeof in));  // one read of delay
  ASSERT_TRUE(sim::TakeInput(d, in, sizeof in));
  EXPECT_EQ(in[1], 1);
  ASSERT_TRUE(sim::TakeInput(d, in, sizeof in));
  EXPECT_EQ(in[1], 2);
  ASSERT_EQ(sim::WriteOutput(d, request), sim::kOk);  // disarmed: no more replies
  EXPECT_FALSE(sim::TakeInput(d, in, sizeof in));
}

TEST_F(SimBlockTest, KeypadMemoryAnswersReadsOneReplyAtATimeAndTakesWrites) {
  sim::DeviceSpec spec = sim::DefaultSpec();
  spec.inputLength = 9;
  spec.outputLength = 9;
  spec.model = sim::kModelKeypad;
  const int id = sim::AddDevice(*block_, spec);
  ASSERT_GT(id, 0);
  sim::Device& d = *sim::FindDevice(*block_, id);
  sim::KeypadMemory* memory = sim::KeypadMemoryOf(d);
  ASSERT_NE(memory, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(memory->bytes + sim::kKeypadSignatureAt), 6), "KN Sig");
  EXPECT_EQ(sim::KeypadMemoryOf(Add()), nullptr);

  const uint8_t write[9] = {2, 0xBC, 0xFE, 0x0F, 'a', 'b', 'c', 'd', 0};
  ASSERT_EQ(sim::WriteOutput(d, write), sim::kOk);
  const uint8_t outside[9] = {2, 0xBC, 0x1E, 0x10, 1, 1, 1, 1, 0};  // would end past the memory
  ASSERT_EQ(sim::WriteOutput(d, outside), sim::kOk);
  const uint8_t end[9] = {2, 0xBE};
  ASSERT_EQ(sim::WriteOutput(d, end), sim::kOk);
  EXPECT_EQ(memory->writes, 2u);
  EXPECT_EQ(memory->ends, 1u);

  // 12 bytes from 0x0FFC in replies of five data bytes (the reports are nine long).
  const uint8_t read[9] = {2, 0xBF, 0xFC, 0x0F, 0x08, 0x10};
  ASSERT_EQ(sim::WriteOutput(d, read), sim::kOk);
  std::vector<std::vector<uint8_t>> replies;
  uint8_t in[9];
  while (sim::TakeInput(d, in, sizeof in)) {
    replies.emplace_back(in, in + 9);
    EXPECT_LE(d.input.count, 1u);
  }
  ASSERT_EQ(replies.size(), 3u);
  EXPECT_EQ(replies[0], (std::vector<uint8_t>{3, 5, 0xFC, 0x0F, 'i', 'g', 'a', 'b', 'c'}));
  EXPECT_EQ(replies[2], (std::vector<uint8_t>{3, 2, 0x06, 0x10, 0, 0, 0, 0, 0}));
  EXPECT_EQ(d.state.length, 0);  // replies are no key state to report again

  // A read left unfinished ends when the host opens the keypad for events again.
  ASSERT_EQ(sim::WriteOutput(d, read), sim::kOk);
  ASSERT_TRUE(sim::TakeInput(d, in, sizeof in));
  sim::ClearRing(d.input);
  sim::ModelOnOpen(d);
  EXPECT_FALSE(sim::TakeInput(d, in, sizeof in));
}

TEST_F(SimBlockTest, KeypadKeepsItsMemoryOverAModeSwitch) {
  sim::DeviceSpec spec = sim::DefaultSpec();
  spec.model = sim::kModelKeypad;
  spec.switchProductId = 0x1A;
  const int id = sim::AddDevice(*block_, spec);
  sim::KeypadMemoryOf(*sim::FindDevice(*block_, id))->bytes[100] = 42;
  const int back = sim::SwitchDeviceMode(*block_, id);
  ASSERT_GT(back, id);
  EXPECT_EQ(sim::KeypadMemoryOf(*sim::FindDevice(*block_, back))->bytes[100], 42);
}
