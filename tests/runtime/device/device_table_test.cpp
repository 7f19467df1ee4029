#include "runtime/device/device_table.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "runtime/device/device_record.h"

namespace {

bool Signalled(HANDLE e) { return WaitForSingleObject(e, 0) == WAIT_OBJECT_0; }

TEST(DeviceTable, OtherThreadsSeeCopiesAndWakeThroughTheLock) {
  DeviceRecords table;
  for (int i = 0; i < 2; ++i) {
    auto& d = *table.emplace_back(std::make_unique<DeviceRecord>());
    d.hidHandle = 10 + i;
    d.productId = 0x19;
    d.unitId = i + 1;
    d.vendorId = 0x0A7C;
    d.outputLength = 9 + i;
    d.readEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  }
  EXPECT_FALSE(WakeDeviceThreadFor(10));  // nothing published yet
  EXPECT_TRUE(GetDeviceTable().empty());
  PublishDeviceTable(&table);
  ASSERT_EQ(GetDeviceTable().size(), 2u);
  EXPECT_EQ(GetDeviceTable()[1].get(), table[1].get());
  ASSERT_EQ(GetDeviceSummaries().size(), 2u);
  EXPECT_EQ(FindDeviceSummary(11)->unitId, 2);
  EXPECT_EQ(FindDeviceSummary(11)->vendorId, 0x0A7C);
  EXPECT_EQ(FindDeviceSummary(11)->outputLength, 10);  // what a host's write is checked against
  EXPECT_FALSE(FindDeviceSummary(12).has_value());

  EXPECT_TRUE(WakeDeviceThreadFor(11));
  EXPECT_FALSE(Signalled(table[0]->readEvent));
  EXPECT_TRUE(Signalled(table[1]->readEvent));
  ResetEvent(table[1]->readEvent);
  EXPECT_TRUE(WakeDeviceThreadFor(kNoRequestDevice));  // no such device: the first one wakes
  EXPECT_TRUE(Signalled(table[0]->readEvent));

  // The copies stay what they were when published, whatever the table does later.
  table[1]->unitId = 99;
  EXPECT_EQ(FindDeviceSummary(11)->unitId, 2);
  PublishDeviceTable(nullptr);
  EXPECT_TRUE(GetDeviceSummaries().empty());
  EXPECT_TRUE(GetDeviceTable().empty());
  EXPECT_FALSE(WakeDeviceThreadFor(10));
  for (auto& d : table) CloseHandle(d->readEvent);
}

TEST(DeviceTable, ARecordStartsWithNoHandle) {
  // 0 is the first enumerated interface: a record that was never set up must not name it.
  EXPECT_EQ(DeviceRecord{}.hidHandle, -1);
}

}  // namespace
