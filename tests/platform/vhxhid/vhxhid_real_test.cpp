// The Windows HID backend where no device is attached (as under Wine).
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/vhxhid/vhxhid.h"

namespace {

// The backend is chosen at the first call: make sure it is the real one.
const bool kNoSimulation = SetEnvironmentVariableA("VHXHID_SIM", nullptr) != 0;

TEST(RealHid, EnumeratesWithoutErrorWhenNoDeviceIsThere) {
  ASSERT_TRUE(kNoSimulation);
  VhxEntry entries[VHX_MAX_ENTRIES];
  int count = -1;
  EXPECT_EQ(VhxEnumerate(0x0A7C, entries, &count), VHX_OK);
  EXPECT_EQ(count, 0);
  count = -1;
  EXPECT_EQ(VhxEnumerateKeepOpen(0x0A7C, entries, &count), VHX_OK);
  EXPECT_EQ(count, 0);
  count = -1;
  EXPECT_EQ(VhxCalEnumerate(0x0A7C, entries, &count), VHX_OK);
  EXPECT_EQ(count, 0);
  int arrived = -1, removed = -1;
  EXPECT_EQ(VhxPollChanges(0x0A7C, &arrived, &removed), VHX_OK);
  EXPECT_EQ(arrived, 0);
  EXPECT_EQ(removed, 0);
}

TEST(RealHid, HandlesOfNoEnumerationAreRefused) {
  uint8_t buffer[64] = {};
  void* read = nullptr;
  void* removal = nullptr;
  EXPECT_EQ(VhxGetInputLength(0), 0);
  EXPECT_EQ(VhxSetUpInterface(0, &read, &removal), VHX_ERR_HANDLE);
  EXPECT_NE(VhxReadReport(0, buffer), VHX_OK);
  EXPECT_NE(VhxWriteReport(0, buffer), VHX_OK);
  EXPECT_NE(VhxCloseInterface(0), VHX_OK);
  EXPECT_NE(VhxSwitchMode(0), VHX_OK);
  EXPECT_NE(VhxCalReadLatest(0, buffer), VHX_OK);
}

}  // namespace
