#pragma once
// What the exported functions do, over a backend: handle numbering, room limits, events that
// live as long as their handle, the change baseline, and the latest-report reader of the
// calibration program.
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/vhxhid/backend.h"
#include "platform/vhxhid/handle_table.h"
#include "platform/vhxhid/vhxhid.h"

namespace vhx {

class Library {
 public:
  explicit Library(std::unique_ptr<Backend> backend);
  ~Library();

  // What an enumeration does with the interfaces of the one before.
  enum class Numbering {
    // Ordinal 3: numbered 0 .. n-1; an interface in use that stays attached stays open under
    // its new number, with the reports it queued, and hands out its last report again at its
    // next set-up. Every other interface is closed.
    RenumberKeepingUse,
    // Ordinal 10: numbered 0 .. n-1, every interface closed.
    Renumber,
    // Ordinal 35: known interfaces keep their numbers and stay as they are.
    KeepNumbers,
  };
  // room: entries the caller has.
  int Enumerate(int vendorId, VhxEntry* entries, int* count, int room, Numbering numbering);
  int Version(int handle);
  int InputLength(int handle);
  int OutputLength(int handle);
  int SetUp(int handle, HANDLE* readEvent, HANDLE* removalEvent);
  int OpenPolled(int handle);
  int Read(int handle, uint8_t* buffer);
  int Write(int handle, const uint8_t* buffer);
  int Close(int handle);
  int PollChanges(int vendorId, int* arrived, int* removed);
  int SwitchMode(int handle);
  int StartSampling(int handle);
  int ReadLatest(int handle, uint8_t* buffer);

 private:
  struct Interface;
  std::shared_ptr<Interface> Find(int handle);
  int Open(Interface& iface);  // with iface.mutex held
  static bool InUse(Interface& iface);
  bool ListVendor(int vendorId, std::vector<InterfaceInfo>& out);

  std::unique_ptr<Backend> backend_;
  std::mutex mutex_;  // the table, the handle numbers and the baseline
  HandleTable handles_;
  ChangeTracker changes_;
  std::map<int, std::shared_ptr<Interface>> interfaces_;
};

}  // namespace vhx
