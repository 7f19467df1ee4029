#include "tests/runtime/device_thread_stand_in.h"

std::atomic<int> RequestCode{0};
std::atomic<int> RequestDevice{kNoRequestDevice};

namespace {
DeviceRecord* standInTable = nullptr;
int standInCount = 0;
bool standInAllowed = true;
}  // namespace

DeviceRecord* GetDeviceArray(int& count) {
  count = standInCount;
  return standInTable;
}
bool IsProgrammingAllowed() { return standInAllowed; }

namespace testsupport {
void SetStandInDeviceTable(DeviceRecord* table, int count) {
  standInTable = table;
  standInCount = count;
}
void SetStandInProgrammingAllowed(bool allowed) { standInAllowed = allowed; }
}  // namespace testsupport
