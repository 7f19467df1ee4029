// Every function of VHXHID.dll, reached by ordinal through its import library, on simulated
// devices; a controller in this process or in vhxsim.exe plays the devices.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/vhxhid/vhxhid.h"
#include "platform/vhxhid/vhxsim_control.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

namespace {

constexpr int kVendor = 0x0A7C;
// Ids are never reused and the simulation outlives a run: a small id may name a device of some
// earlier run's by now.
constexpr int kNoSuchId = 0x7FFFFFFF;

using Bytes = std::vector<uint8_t>;

bool Signalled(HANDLE event, DWORD waitMs = 0) {
  return WaitForSingleObject(event, waitMs) == WAIT_OBJECT_0;
}

class SimDevices : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testsupport::EnvOr("VHXHID_SIM").empty()) << "the test runs on a simulation";
    sim_ = VhxSimOpen(nullptr);
    ASSERT_NE(sim_, nullptr);
    ASSERT_EQ(VhxSimReset(sim_), VHXSIM_OK);
  }
  void TearDown() override {
    if (sim_) VhxSimClose(sim_);
  }

  int Add(int pid = 0x19, int in = 9, int out = 9, int switchPid = 0, int page = 12,
          int vendor = kVendor) {
    VhxSimDeviceSpec spec;
    VhxSimDefaultSpec(&spec);
    spec.productId = pid;
    spec.inputLength = in;
    spec.outputLength = out;
    spec.switchProductId = switchPid;
    spec.usagePage = page;
    spec.vendorId = vendor;
    int id = VhxSimAddDevice(sim_, &spec);
    EXPECT_GT(id, 0);
    return id;
  }
  void Queue(int id, const Bytes& bytes) {
    ASSERT_EQ(VhxSimQueueInput(sim_, id, bytes.data(), static_cast<int>(bytes.size())),
              VHXSIM_OK);
  }
  std::vector<Bytes> Outputs(int id) {
    std::vector<Bytes> all;
    uint8_t buffer[VHXSIM_MAX_REPORT];
    int n;
    while ((n = VhxSimTakeOutput(sim_, id, buffer, sizeof buffer)) > 0)
      all.emplace_back(buffer, buffer + n);
    return all;
  }
  static std::vector<VhxEntry> Enumerate(bool keepOpen = false) {
    std::vector<VhxEntry> entries(VHX_MAX_ENTRIES);
    int count = -1;
    int result = keepOpen ? VhxEnumerateKeepOpen(kVendor, entries.data(), &count)
                          : VhxEnumerate(kVendor, entries.data(), &count);
    EXPECT_EQ(result, VHX_OK);
    entries.resize(count < 0 ? 0 : count);
    return entries;
  }
  static Bytes Read(int handle, int length, int* result) {
    Bytes buffer(length, 0xEE);
    *result = VhxReadReport(handle, buffer.data());
    return buffer;
  }
  static void SetUpEvents(int handle, HANDLE& read, HANDLE& removal) {
    read = removal = nullptr;
    ASSERT_EQ(VhxSetUpInterface(handle, &read, &removal), VHX_OK);
    ASSERT_NE(read, nullptr);
    ASSERT_NE(removal, nullptr);
  }

  VhxSim* sim_ = nullptr;
};

TEST_F(SimDevices, EnumerationDescribesTheVendorsInterfaces) {
  VhxSimDeviceSpec spec;
  VhxSimDefaultSpec(&spec);
  spec.productId = 0x1A;
  spec.version = 0x0123;
  spec.usagePage = 1;
  spec.usage = 6;
  spec.inputLength = 5;
  spec.outputLength = 8;
  ASSERT_GT(VhxSimAddDevice(sim_, &spec), 0);
  Add(0xD2, 16, 0);
  Add(0x55, 9, 9, 0, 12, 0x1234);  // another vendor's

  std::vector<VhxEntry> entries = Enumerate();
  ASSERT_EQ(entries.size(), 2u);
  struct Expect {
    int pid, usage, page, version, in, out;
  } expect[] = {{0xD2, 1, 12, 0x0100, 16, 0}, {0x1A, 6, 1, 0x0123, 5, 8}};  // page 12 first
  for (int i = 0; i < 2; ++i) {
    const VhxEntry& e = entries[i];
    EXPECT_EQ(e.handle, i);
    EXPECT_EQ(e.productId, expect[i].pid);
    EXPECT_EQ(e.usage, expect[i].usage);
    EXPECT_EQ(e.usagePage, expect[i].page);
    EXPECT_EQ(VhxGetVersion(e.handle), expect[i].version);
    EXPECT_EQ(VhxGetInputLength(e.handle), expect[i].in);
    EXPECT_EQ(VhxGetOutputLength(e.handle), expect[i].out);
  }
}

TEST_F(SimDevices, UnknownHandlesFailWithoutHarm) {
  Add();
  ASSERT_EQ(Enumerate().size(), 1u);
  uint8_t buffer[VHXSIM_MAX_REPORT] = {};
  HANDLE read = nullptr, removal = nullptr;
  for (int handle : {-1, 1, 77}) {
    EXPECT_EQ(VhxGetVersion(handle), 0);
    EXPECT_EQ(VhxGetInputLength(handle), 0);
    EXPECT_EQ(VhxGetOutputLength(handle), 0);
    EXPECT_EQ(VhxSetUpInterface(handle, &read, &removal), VHX_ERR_HANDLE);
    EXPECT_NE(VhxReadReport(handle, buffer), VHX_OK);
    EXPECT_NE(VhxWriteReport(handle, buffer), VHX_OK);
    EXPECT_NE(VhxCloseInterface(handle), VHX_OK);
    EXPECT_NE(VhxOpenPolled(handle), VHX_OK);
    EXPECT_NE(VhxSwitchMode(handle), VHX_OK);
    EXPECT_NE(VhxCalSetUp(handle), VHX_OK);
    EXPECT_NE(VhxCalStartSampling(handle), VHX_OK);
    EXPECT_NE(VhxCalReadLatest(handle, buffer), VHX_OK);
  }
  EXPECT_EQ(read, nullptr);
}

TEST_F(SimDevices, ReadEventIsSignalledWhileReportsWait) {
  int id = Add(0x19, 4);
  Enumerate();
  HANDLE read, removal;
  SetUpEvents(0, read, removal);
  EXPECT_FALSE(Signalled(read));
  int result;
  Read(0, 4, &result);
  EXPECT_EQ(result, VHX_ERR_NO_REPORT);

  Queue(id, {1, 0x10});
  Queue(id, {2, 0x20, 0x21, 0x22});
  Queue(id, {3});
  EXPECT_TRUE(Signalled(read));
  ResetEvent(read);  // as a caller that reads one report only does
  EXPECT_EQ(Read(0, 4, &result), (Bytes{1, 0x10, 0, 0}));
  EXPECT_EQ(result, VHX_OK);
  EXPECT_TRUE(Signalled(read)) << "two reports still wait";
  EXPECT_EQ(Read(0, 4, &result), (Bytes{2, 0x20, 0x21, 0x22}));
  EXPECT_EQ(Read(0, 4, &result), (Bytes{3, 0, 0, 0}));
  EXPECT_FALSE(Signalled(read));
  Read(0, 4, &result);
  EXPECT_EQ(result, VHX_ERR_NO_REPORT);
  EXPECT_FALSE(Signalled(removal));
}

TEST_F(SimDevices, EventsLiveAsLongAsTheHandleAndCloseDiscardsTheQueue) {
  int id = Add(0x19, 4);
  Enumerate();
  HANDLE read, removal;
  SetUpEvents(0, read, removal);
  Queue(id, {1});
  Queue(id, {2});
  ASSERT_EQ(VhxCloseInterface(0), VHX_OK);
  EXPECT_FALSE(Signalled(read));
  int result;
  Read(0, 4, &result);
  EXPECT_NE(result, VHX_OK) << "closed";

  SetEvent(read);  // callers wake their own thread with it after closing
  HANDLE read2, removal2;
  SetUpEvents(0, read2, removal2);
  EXPECT_EQ(read2, read);
  EXPECT_EQ(removal2, removal);
  Read(0, 4, &result);
  EXPECT_EQ(result, VHX_ERR_NO_REPORT) << "reports from before the close are gone";
  Queue(id, {9});
  EXPECT_EQ(Read(0, 4, &result)[0], 9);
}

TEST_F(SimDevices, PolledUseWritesARequestAndReadsTheReplies) {
  int id = Add(0x19, 6, 6);
  Enumerate();
  HANDLE read, removal;
  SetUpEvents(0, read, removal);
  Queue(id, {0x01, 0x55});  // a key report from before the exchange
  ASSERT_EQ(VhxCloseInterface(0), VHX_OK);
  ASSERT_EQ(VhxOpenPolled(0), VHX_OK);
  const Bytes request = {2, 0xBF, 0, 0, 28, 0};
  ASSERT_EQ(VhxWriteReport(0, request.data()), VHX_OK);
  Queue(id, {3, 2, 0, 0, 'K', 'N'});
  int result;
  EXPECT_EQ(Read(0, 6, &result), (Bytes{3, 2, 0, 0, 'K', 'N'}));
  EXPECT_EQ(result, VHX_OK);
  Read(0, 6, &result);
  EXPECT_EQ(result, VHX_ERR_NO_REPORT);
  EXPECT_EQ(Outputs(id), std::vector<Bytes>{request});
  // Back to event use.
  ASSERT_EQ(VhxCloseInterface(0), VHX_OK);
  HANDLE read2, removal2;
  SetUpEvents(0, read2, removal2);
  EXPECT_EQ(read2, read);
}

TEST_F(SimDevices, KeypadMemoryIsReadAndWrittenByTheHostAndTheController) {
  VhxSimDeviceSpec spec;
  VhxSimDefaultSpec(&spec);
  spec.inputLength = 32;
  spec.model = VHXSIM_MODEL_KEYPAD;
  const int id = VhxSimAddDevice(sim_, &spec);
  ASSERT_GT(id, 0);
  const Bytes macro = {0x04, 0xE8, 0x04, 0};
  ASSERT_EQ(VhxSimWriteMemory(sim_, id, 320, macro.data(), 4), VHXSIM_OK);
  Enumerate();
  ASSERT_EQ(VhxOpenPolled(0), VHX_OK);
  const Bytes request = {2, 0xBF, 0x40, 0x01, 0x44, 0x01, 0, 0, 0};
  ASSERT_EQ(VhxWriteReport(0, request.data()), VHX_OK);
  int result;
  const Bytes reply = Read(0, 32, &result);
  ASSERT_EQ(result, VHX_OK);
  EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 8), (Bytes{3, 4, 0x40, 0x01, 0x04, 0xE8, 0x04, 0}));
  const Bytes write = {2, 0xBC, 0x40, 0x01, 0x05, 0xE8, 0x05, 0};
  ASSERT_EQ(VhxWriteReport(0, write.data()), VHX_OK);
  const Bytes end = {2, 0xBE, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(VhxWriteReport(0, end.data()), VHX_OK);
  uint8_t now[4] = {};
  ASSERT_EQ(VhxSimReadMemory(sim_, id, 320, now, 4), VHXSIM_OK);
  EXPECT_EQ(Bytes(now, now + 4), (Bytes{0x05, 0xE8, 0x05, 0}));
  int writes = -1, ends = -1;
  ASSERT_EQ(VhxSimMemoryCounts(sim_, id, &writes, &ends), VHXSIM_OK);
  EXPECT_EQ(writes, 1);
  EXPECT_EQ(ends, 1);
  uint8_t signature[6] = {};
  ASSERT_EQ(VhxSimReadMemory(sim_, id, VHXSIM_MEMORY_SIGNATURE, signature, 6), VHXSIM_OK);
  EXPECT_EQ(std::string(signature, signature + 6), "KN Sig");

  EXPECT_EQ(VhxSimReadMemory(sim_, id, VHXSIM_MEMORY_BYTES - 3, now, 4), VHXSIM_ERR_LENGTH);
  EXPECT_EQ(VhxSimWriteMemory(sim_, id, -1, now, 1), VHXSIM_ERR_LENGTH);
  EXPECT_EQ(VhxSimReadMemory(sim_, Add(), 0, now, 1), VHXSIM_ERR_SPEC);
  EXPECT_EQ(VhxSimMemoryCounts(sim_, kNoSuchId, &writes, &ends), VHXSIM_ERR_NO_DEVICE);
}

TEST_F(SimDevices, WritesAreRecordedAndFailQuicklyWhenRefused) {
  int id = Add(0x19, 9, 8);
  int noOutput = Add(0x1A, 9, 0);
  (void)noOutput;
  std::vector<VhxEntry> entries = Enumerate();
  ASSERT_EQ(entries.size(), 2u);
  const Bytes leds = {2, 0x10, 0xC0, 0, 0, 0, 0, 0};
  const Bytes keyboard = {2, 0xC5, 0x02, 0x04, 0, 0, 0, 0};
  ASSERT_EQ(VhxSetUpInterface(0, nullptr, nullptr), VHX_OK);
  ASSERT_EQ(VhxWriteReport(0, leds.data()), VHX_OK);
  ASSERT_EQ(VhxWriteReport(0, keyboard.data()), VHX_OK);
  EXPECT_EQ(Outputs(id), (std::vector<Bytes>{leds, keyboard}));

  ASSERT_EQ(VhxSimSetFailWrites(sim_, id, 1), VHXSIM_OK);
  DWORD start = GetTickCount();
  EXPECT_EQ(VhxWriteReport(0, leds.data()), VHX_ERR_WRITE);
  EXPECT_LT(GetTickCount() - start, 500u);
  EXPECT_TRUE(Outputs(id).empty());
  ASSERT_EQ(VhxSimSetFailWrites(sim_, id, 0), VHXSIM_OK);
  EXPECT_EQ(VhxWriteReport(0, leds.data()), VHX_OK);

  EXPECT_EQ(VhxWriteReport(1, leds.data()), VHX_ERR_WRITE) << "a device without output";
  EXPECT_EQ(VhxWriteReport(0, nullptr), VHX_ERR_ARGUMENT);
}

TEST_F(SimDevices, WriteWorksOnAnInterfaceNotSetUp) {
  int id = Add();
  Enumerate();
  Bytes report(9, 0);
  report[0] = 2;
  EXPECT_EQ(VhxWriteReport(0, report.data()), VHX_OK);
  EXPECT_EQ(Outputs(id).size(), 1u);
}

TEST_F(SimDevices, RemovalSignalsAndThePollReportsEachChangeOnce) {
  int first = Add(0x19);
  Add(0x1A);
  Enumerate();
  HANDLE read, removal;
  SetUpEvents(0, read, removal);
  Queue(first, {7});
  int arrived = -1, removed = -1;
  ASSERT_EQ(VhxPollChanges(kVendor, &arrived, &removed), VHX_OK);
  EXPECT_EQ(arrived + removed, 0);

  ASSERT_EQ(VhxSimRemoveDevice(sim_, first), VHXSIM_OK);
  EXPECT_TRUE(Signalled(removal, 1000));
  int result;
  Read(0, 9, &result);
  EXPECT_NE(result, VHX_OK) << "a gone device has no reports";
  ASSERT_EQ(VhxPollChanges(kVendor, &arrived, &removed), VHX_OK);
  EXPECT_EQ(arrived, 0);
  EXPECT_EQ(removed, 1);
  ASSERT_EQ(VhxPollChanges(kVendor, &arrived, &removed), VHX_OK);
  EXPECT_EQ(removed, 0) << "reported once";

  Add(0x1B);
  Add(0x1C, 9, 9, 0, 12, 0x1234);  // not this vendor's
  ASSERT_EQ(VhxPollChanges(kVendor, &arrived, &removed), VHX_OK);
  EXPECT_EQ(arrived, 1);
  EXPECT_EQ(removed, 0);

  // A full enumeration is a new baseline.
  Add(0x1D);
  Enumerate();
  ASSERT_EQ(VhxPollChanges(kVendor, &arrived, &removed), VHX_OK);
  EXPECT_EQ(arrived + removed, 0);
}

// As the device thread uses a keypad that is unplugged and plugged in again, many times: set
// up, reports read, a write, the removal, the interface closed, the next enumeration.
TEST_F(SimDevices, UnplugAndReplugLeaveNoHandlesBehind) {
  const auto cycle = [&] {
    const int id = Add();
    std::vector<VhxEntry> entries = Enumerate();
    ASSERT_EQ(entries.size(), 1u);
    const int handle = entries[0].handle;
    HANDLE read, removal;
    SetUpEvents(handle, read, removal);
    Queue(id, {1, 2});
    int result;
    Read(handle, 9, &result);
    Read(handle, 9, &result);
    Bytes report(9, 0);
    report[0] = 2;
    VhxWriteReport(handle, report.data());
    ASSERT_EQ(VhxSimRemoveDevice(sim_, id), VHXSIM_OK);
    EXPECT_TRUE(Signalled(removal, 1000));
    VhxCloseInterface(handle);
  };
  for (int i = 0; i < 10; ++i) cycle();
  const int before = testsupport::OwnHandleCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 200; ++i) cycle();
  Enumerate();  // the last device's events go with its handle
  EXPECT_LE(testsupport::OwnHandleCount(), before + 2);
}

TEST_F(SimDevices, SetUpOfAGoneDeviceFailsAndSignalsRemoval) {
  int id = Add();
  Enumerate();
  ASSERT_EQ(VhxSimRemoveDevice(sim_, id), VHXSIM_OK);
  HANDLE read = nullptr, removal = nullptr;
  EXPECT_NE(VhxSetUpInterface(0, &read, &removal), VHX_OK);
  ASSERT_NE(removal, nullptr);
  EXPECT_TRUE(Signalled(removal));
}

TEST_F(SimDevices, ModeSwitchReturnsUnderTheOtherProductIdKeepingOpenHandles) {
  Add(0x30);
  Add(0x19, 9, 9, 0x1A);
  std::vector<VhxEntry> before = Enumerate();
  ASSERT_EQ(before.size(), 2u);
  HANDLE read, removal;
  SetUpEvents(0, read, removal);
  SetUpEvents(1, read, removal);

  // From the tray: an enumeration that must not disturb the device thread's interfaces.
  std::vector<VhxEntry> tray = Enumerate(true);
  ASSERT_EQ(tray.size(), 2u);
  EXPECT_EQ(tray[0].handle, 0);
  EXPECT_EQ(tray[1].handle, 1);
  EXPECT_NE(VhxSwitchMode(0), VHX_OK) << "no mode switch";
  ASSERT_EQ(VhxSwitchMode(1), VHX_OK);
  EXPECT_TRUE(Signalled(removal, 1000));

  int arrived = 0, removed = 0;
  ASSERT_EQ(VhxPollChanges(kVendor, &arrived, &removed), VHX_OK);
  EXPECT_EQ(arrived, 1);
  EXPECT_EQ(removed, 1);
  tray = Enumerate(true);
  ASSERT_EQ(tray.size(), 2u);
  EXPECT_EQ(tray[0].productId, 0x30);
  EXPECT_EQ(tray[0].handle, 0);
  EXPECT_EQ(tray[1].productId, 0x1A);
  EXPECT_GE(tray[1].handle, 2) << "a newly seen interface gets a number nobody holds";
  EXPECT_EQ(VhxGetVersion(tray[1].handle), 0x0100);
  EXPECT_EQ(VhxGetInputLength(0), 9);

  // The device thread's own enumeration renumbers, and the tray's next one agrees with it.
  std::vector<VhxEntry> renumbered = Enumerate();
  ASSERT_EQ(renumbered.size(), 2u);
  tray = Enumerate(true);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(tray[i].handle, renumbered[i].handle);
    EXPECT_EQ(tray[i].productId, renumbered[i].productId);
  }
  EXPECT_EQ(VhxGetVersion(5), 0);
}

TEST_F(SimDevices, CalibrationReadsTheLatestReport) {
  for (int i = 0; i < 30; ++i) Add(0x100 + i, 16, 0);
  std::vector<VhxEntry> entries(VHX_CAL_MAX_ENTRIES + 4, VhxEntry{-9, -9, -9, -9});
  int count = 0;
  ASSERT_EQ(VhxCalEnumerate(kVendor, entries.data(), &count), VHX_OK);
  EXPECT_EQ(count, VHX_CAL_MAX_ENTRIES);
  for (size_t i = VHX_CAL_MAX_ENTRIES; i < entries.size(); ++i) EXPECT_EQ(entries[i].handle, -9);

  ASSERT_EQ(VhxSimReset(sim_), VHXSIM_OK);
  int cab = Add(0xD2, 16, 0);
  ASSERT_EQ(VhxCalEnumerate(kVendor, entries.data(), &count), VHX_OK);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(entries[0].productId, 0xD2);
  uint8_t report[16];
  EXPECT_NE(VhxCalReadLatest(0, report), VHX_OK) << "not set up";
  ASSERT_EQ(VhxCalSetUp(0), VHX_OK);
  EXPECT_EQ(VhxCalReadLatest(0, report), VHX_ERR_NO_REPORT);
  Queue(cab, {0, 171});
  Queue(cab, {0, 172});
  ASSERT_EQ(VhxCalReadLatest(0, report), VHX_OK);
  EXPECT_EQ(report[1], 172);
  report[1] = 0;
  ASSERT_EQ(VhxCalReadLatest(0, report), VHX_OK) << "a lever held still sends nothing new";
  EXPECT_EQ(report[1], 172);
  Queue(cab, {0, 10});
  Queue(cab, {0, 11});
  ASSERT_EQ(VhxCalStartSampling(0), VHX_OK);
  ASSERT_EQ(VhxCalReadLatest(0, report), VHX_OK);
  EXPECT_EQ(report[1], 11);
  ASSERT_EQ(VhxSimRemoveDevice(sim_, cab), VHXSIM_OK);
  EXPECT_EQ(VhxCalReadLatest(0, report), VHX_ERR_GONE);
}

TEST_F(SimDevices, ACabControllerIsReadAtItsPresentState) {
  VhxSimDeviceSpec spec;
  VhxSimCabSpec(&spec);
  const int cab = VhxSimAddDevice(sim_, &spec);
  ASSERT_GT(cab, 0);
  std::vector<VhxEntry> entries(VHX_CAL_MAX_ENTRIES);
  int count = 0;
  ASSERT_EQ(VhxCalEnumerate(kVendor, entries.data(), &count), VHX_OK);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(entries[0].productId, 0xD2);
  EXPECT_EQ(entries[0].usagePage, 0x0C);
  EXPECT_EQ(VhxGetInputLength(0), 16);
  ASSERT_EQ(VhxSimSetReportByte(sim_, cab, 1, 171), VHXSIM_OK);  // before the host looks
  ASSERT_EQ(VhxCalSetUp(0), VHX_OK);
  Bytes report(16, 0xEE);
  ASSERT_EQ(VhxCalReadLatest(0, report.data()), VHX_OK) << "set up, it reports its state";
  Bytes expected(16, 0);
  expected[1] = 171;
  expected[VHXSIM_CAB_BUILD_BYTE] = 0xD2;
  expected[15] = 1;
  EXPECT_EQ(report, expected);
  ASSERT_EQ(VhxSimSetReportByte(sim_, cab, 2, 40), VHXSIM_OK);
  ASSERT_EQ(VhxSimSetReportByte(sim_, cab, 1, 172), VHXSIM_OK);
  ASSERT_EQ(VhxCalStartSampling(0), VHX_OK);
  ASSERT_EQ(VhxCalReadLatest(0, report.data()), VHX_OK);
  expected[1] = 172;
  expected[2] = 40;
  EXPECT_EQ(report, expected);
  uint8_t held[VHXSIM_MAX_REPORT];
  ASSERT_EQ(VhxSimGetHeldReport(sim_, cab, held, sizeof held), 16);
  EXPECT_EQ(Bytes(held, held + 16), expected);
  EXPECT_EQ(VhxSimGetHeldReport(sim_, cab, held, 8), VHXSIM_ERR_LENGTH);
  EXPECT_EQ(VhxSimSetReportByte(sim_, cab, 16, 1), VHXSIM_ERR_LENGTH);
  EXPECT_EQ(VhxSimSetReportByte(sim_, cab, 1, 256), VHXSIM_ERR_ARGUMENT);
  EXPECT_EQ(VhxSimSetReportByte(sim_, Add(), 1, 1), VHXSIM_ERR_SPEC);
  spec.inputLength = VHXSIM_CAB_MIN_REPORT - 1;
  EXPECT_EQ(VhxSimAddDevice(sim_, &spec), VHXSIM_ERR_SPEC);
}

// What the host's calls give while the simulation is told to fail them, and after.
TEST_F(SimDevices, FailuresOnDemandAreWhatTheCallsReturn) {
  VhxSimDeviceSpec spec;
  VhxSimCabSpec(&spec);
  const int cab = VhxSimAddDevice(sim_, &spec);
  ASSERT_GT(cab, 0);
  std::vector<VhxEntry> entries(VHX_MAX_ENTRIES);
  int count = 0;
  uint8_t report[16];
  auto calEnumerate = [&] { return VhxCalEnumerate(kVendor, entries.data(), &count); };
  auto setUp = [&] { return VhxCalSetUp(0); };
  struct Case {
    const char* what;
    std::function<int(int)> fail;  // turns the failure on with this number (0: off)
    std::vector<std::function<int()>> calls;
    int whileOn;  // what each call returns (-1: the number given)
  } cases[] = {
      {"enumeration",
       [&](int n) { return VhxSimSetEnumerateError(sim_, n); },
       {calEnumerate, [&] { return VhxEnumerate(kVendor, entries.data(), &count); },
        [&] { return VhxEnumerateKeepOpen(kVendor, entries.data(), &count); }},
       -1},
      {"set-up",
       [&](int n) { return VhxSimSetSetUpError(sim_, cab, n); },
       {setUp, [&] { return VhxSetUpInterface(0, nullptr, nullptr); }, [&] { return VhxOpenPolled(0); }},
       -1},
      {"start of sampling", [&](int n) { return VhxSimSetSamplingError(sim_, cab, n); },
       {[&] { return VhxCalStartSampling(0); }}, -1},
      {"reads", [&](int n) { return VhxSimSetFailReads(sim_, cab, n); },
       {[&] { return VhxCalReadLatest(0, report); }}, VHX_ERR_GONE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(calEnumerate(), VHX_OK);
    ASSERT_EQ(setUp(), VHX_OK);
    ASSERT_EQ(c.fail(23), VHXSIM_OK);
    for (const auto& call : c.calls) {
      count = -1;
      EXPECT_EQ(call(), c.whileOn < 0 ? 23 : c.whileOn);
    }
    ASSERT_EQ(c.fail(0), VHXSIM_OK);
    for (const auto& call : c.calls) EXPECT_EQ(call(), VHX_OK);
  }
  ASSERT_EQ(VhxSimSetEnumerateError(sim_, 5), VHXSIM_OK);
  count = -1;
  EXPECT_EQ(calEnumerate(), 5);
  EXPECT_EQ(count, 0) << "a failed enumeration lists nothing";
  ASSERT_EQ(VhxSimSetEnumerateError(sim_, 0), VHXSIM_OK);
  VhxSimDeviceInfo info;
  ASSERT_EQ(VhxSimSetSetUpError(sim_, cab, 13), VHXSIM_OK);
  ASSERT_EQ(VhxSimSetSamplingError(sim_, cab, 8), VHXSIM_OK);
  ASSERT_EQ(VhxSimSetFailReads(sim_, cab, 1), VHXSIM_OK);
  ASSERT_EQ(VhxSimGetDevice(sim_, cab, &info), VHXSIM_OK);
  EXPECT_EQ(info.setUpError, 13);
  EXPECT_EQ(info.samplingError, 8);
  EXPECT_EQ(info.failReads, 1);
  EXPECT_EQ(VhxSimSetSetUpError(sim_, cab, -1), VHXSIM_ERR_ARGUMENT);
  EXPECT_EQ(VhxSimSetEnumerateError(sim_, -1), VHXSIM_ERR_ARGUMENT);
  EXPECT_EQ(VhxSimSetFailReads(sim_, kNoSuchId, 1), VHXSIM_ERR_NO_DEVICE);
}

TEST_F(SimDevices, AnEventReaderSeesNothingWhileReadsFailAndTheReportsAfter) {
  const int id = Add(0x19, 2, 0);
  Enumerate();
  HANDLE read, removal;
  SetUpEvents(0, read, removal);
  ASSERT_EQ(VhxSimSetFailReads(sim_, id, 1), VHXSIM_OK);
  Queue(id, {1, 7});
  int result;
  Read(0, 2, &result);
  EXPECT_NE(result, VHX_OK);
  EXPECT_FALSE(Signalled(read)) << "no spinning on a broken interface";
  EXPECT_FALSE(Signalled(removal)) << "the device is still there";
  ASSERT_EQ(VhxSimSetFailReads(sim_, id, 0), VHXSIM_OK);
  EXPECT_TRUE(Signalled(read));
  EXPECT_EQ(Read(0, 2, &result), (Bytes{1, 7}));
  EXPECT_EQ(result, VHX_OK);
}

// The tool, as a separate process.
class SimTool : public SimDevices {
 protected:
  static testsupport::CapturedRun Tool(const std::string& args) {
    std::string exe = testsupport::EnvOr("ORVANE_BIN") + "\\vhxsim.exe";
    testsupport::CapturedRun run = testsupport::RunCaptured("\"" + exe + "\" " + args, 20000);
    EXPECT_TRUE(run.finished) << args;
    return run;
  }
};

TEST_F(SimTool, AnotherProcessWakesTheWaitingReader) {
  testsupport::CapturedRun add = Tool("add --pid 0x19 --in 4 --version 0x0205");
  ASSERT_EQ(add.exitCode, 0u) << add.err;
  int id = std::stoi(add.out);
  std::vector<VhxEntry> entries = Enumerate();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(VhxGetVersion(0), 0x0205);
  HANDLE read, removal;
  SetUpEvents(0, read, removal);

  testsupport::ChildProcess controller;
  std::string exe = testsupport::EnvOr("ORVANE_BIN") + "\\vhxsim.exe";
  ASSERT_TRUE(controller.Start("\"" + exe + "\" input " + std::to_string(id) + " 0000ff10"));
  ASSERT_TRUE(Signalled(read, 15000));
  int result;
  EXPECT_EQ(Read(0, 4, &result), (Bytes{0x00, 0x00, 0xFF, 0x10}));
  EXPECT_EQ(result, VHX_OK);
  ASSERT_TRUE(controller.Wait(15000));
  EXPECT_EQ(controller.ExitCode(), 0u);

  testsupport::CapturedRun remove = Tool("remove " + std::to_string(id));
  EXPECT_EQ(remove.exitCode, 0u) << remove.err;
  EXPECT_TRUE(Signalled(removal, 1000));
}

TEST_F(SimTool, ListsOutputsAndFailsWrites) {
  int id = Add(0x19, 9, 3);
  Enumerate();
  const Bytes first = {2, 0x01, 0xAB}, second = {2, 0x02, 0xCD};
  ASSERT_EQ(VhxWriteReport(0, first.data()), VHX_OK);
  ASSERT_EQ(VhxWriteReport(0, second.data()), VHX_OK);
  std::string sid = std::to_string(id);

  testsupport::CapturedRun outputs = Tool("outputs " + sid);
  EXPECT_EQ(outputs.exitCode, 0u);
  EXPECT_EQ(outputs.out, "0201ab\n0202cd\n");
  EXPECT_EQ(Tool("outputs " + sid).out, "") << "only what came since the last call";

  EXPECT_EQ(Tool("fail-writes " + sid + " on").exitCode, 0u);
  EXPECT_EQ(VhxWriteReport(0, first.data()), VHX_ERR_WRITE);
  EXPECT_EQ(Tool("fail-writes " + sid + " off").exitCode, 0u);
  EXPECT_EQ(VhxWriteReport(0, first.data()), VHX_OK);

  // A burst beyond the queue: the reports pushed out are counted, so lost presses show.
  const int burst = Add(0x1A, 2, 0);
  for (int i = 0; i < VHXSIM_INPUT_SLOTS + 5; ++i) Queue(burst, {1, static_cast<uint8_t>(i)});
  testsupport::CapturedRun list = Tool("list");
  EXPECT_EQ(list.exitCode, 0u);
  EXPECT_EQ(list.out, sid +
                          " vid=0x0A7C pid=0x0019 version=0x0100 usage-page=12 usage=1 in=9 out=3"
                          " switch-pid=0x0000 model=0 inputs=0 dropped=0 outputs=1 fail-writes=off"
                          " fail-reads=off setup-error=0 sampling-error=0\n" +
                          std::to_string(burst) +
                          " vid=0x0A7C pid=0x001A version=0x0100 usage-page=12 usage=1 in=2 out=0"
                          " switch-pid=0x0000 model=0 inputs=512 dropped=5 outputs=0 fail-writes=off"
                          " fail-reads=off setup-error=0 sampling-error=0\n");
}

TEST_F(SimTool, DrivesACabControllerAndItsFailures) {
  testsupport::CapturedRun add = Tool("add-cab");
  ASSERT_EQ(add.exitCode, 0u) << add.err;
  const std::string sid = std::to_string(std::stoi(add.out));
  std::vector<VhxEntry> entries(VHX_CAL_MAX_ENTRIES);
  int count = 0;
  ASSERT_EQ(VhxCalEnumerate(kVendor, entries.data(), &count), VHX_OK);
  ASSERT_EQ(count, 1);
  ASSERT_EQ(VhxCalSetUp(0), VHX_OK);
  EXPECT_EQ(Tool("byte " + sid + " 1 171").exitCode, 0u);
  EXPECT_EQ(Tool("byte " + sid + " 5 0x50").exitCode, 0u);
  uint8_t report[16] = {};
  ASSERT_EQ(VhxCalReadLatest(0, report), VHX_OK);
  EXPECT_EQ(report[1], 171);
  EXPECT_EQ(report[5], 0x50);

  EXPECT_EQ(Tool("fail-reads " + sid + " on").exitCode, 0u);
  EXPECT_EQ(Tool("setup-error " + sid + " 13").exitCode, 0u);
  EXPECT_EQ(Tool("sampling-error " + sid + " 8").exitCode, 0u);
  EXPECT_EQ(VhxCalReadLatest(0, report), VHX_ERR_GONE);
  EXPECT_EQ(VhxCalSetUp(0), 13);
  EXPECT_EQ(VhxCalStartSampling(0), 8);
  testsupport::CapturedRun list = Tool("list");
  EXPECT_EQ(list.out, sid +
                          " vid=0x0A7C pid=0x00D2 version=0x0100 usage-page=12 usage=1 in=16 out=3"
                          " switch-pid=0x0000 model=3 inputs=0 dropped=0 outputs=0 fail-writes=off"
                          " fail-reads=on setup-error=13 sampling-error=8"
                          " held=00ab000000500000000000000000d201\n");

  EXPECT_EQ(Tool("enumerate-error 10").exitCode, 0u);
  EXPECT_EQ(Tool("enumerate-error").out, "10\n");
  EXPECT_EQ(VhxCalEnumerate(kVendor, entries.data(), &count), 10);
  EXPECT_EQ(Tool("enumerate-error 0").exitCode, 0u);
  EXPECT_EQ(VhxCalEnumerate(kVendor, entries.data(), &count), VHX_OK);
  // A reset ends the failure too: the simulation outlives the run that set it.
  EXPECT_EQ(Tool("enumerate-error 10").exitCode, 0u);
  EXPECT_EQ(Tool("reset").exitCode, 0u);
  EXPECT_EQ(Tool("enumerate-error").out, "0\n");
  EXPECT_EQ(VhxCalEnumerate(kVendor, entries.data(), &count), VHX_OK);
}

TEST_F(SimTool, RefusesBadCommands) {
  int id = Add(0x19, 2);
  std::string sid = std::to_string(id);
  struct Case {
    std::string args;
    DWORD exitCode;
  } cases[] = {
      {"", 2},
      {"input " + sid + " abc", 2},         // odd hex
      {"input " + sid + " 000102", 1},      // longer than the report
      {"input 2147483647 00", 1},           // no such device
      {"add --in 4", 2},                    // no --pid
      {"add --pid 0x19 --in 500", 1},       // too long for the simulation
      {"add --pid 0x19 --colour red", 2},
      {"fail-writes " + sid + " maybe", 2},
      {"fail-reads " + sid + " maybe", 2},
      {"setup-error " + sid + " many", 2},
      {"sampling-error " + sid + " -1", 2},
      {"enumerate-error -1", 2},
      {"enumerate-error 1 2", 2},
      {"byte " + sid + " 1 300", 2},         // not a byte
      {"byte " + sid + " 1 1", 1},           // not a cab controller
      {"byte 2147483647 1 1", 1},
      {"add-cab --in 8", 1},                  // too short for its levers
      {"add-cab --colour red", 2},
      {"remove", 2},
      {"frobnicate 1", 2},
  };
  for (const Case& c : cases) {
    testsupport::CapturedRun run = Tool(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args;
    EXPECT_FALSE(run.err.empty()) << c.args;
  }
  VhxSimDeviceInfo info;
  ASSERT_EQ(VhxSimGetDevice(sim_, id, &info), VHXSIM_OK);
  EXPECT_EQ(info.queuedInputs, 0);
}

}  // namespace
