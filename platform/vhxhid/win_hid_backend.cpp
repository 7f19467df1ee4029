// The library over the Windows HID stack: SetupAPI finds the interfaces, hid.dll describes
// them, and each interface in use has a reader thread that keeps an overlapped read pending
// and queues what arrives.
#include <windows.h>
#include <setupapi.h>
// MinGW's hid headers leave out the C linkage.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>

#include "platform/vhxhid/backend.h"

namespace vhx {
namespace {

constexpr size_t kQueueLimit = kInputReportBuffers;  // reports kept for a reader behind
constexpr DWORD kWriteTimeoutMs = 100;  // callers retry; a device that never takes a write
                                        // must not hold them

UniqueHandle OpenPath(const std::string& path, DWORD access, DWORD flags) {
  return UniqueHandle(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, flags, nullptr));
}

bool Describe(const std::string& path, InterfaceInfo& info) {
  // No access rights are needed for attributes and capabilities, and keyboards that Windows
  // holds exclusively can still be described.
  UniqueHandle file = OpenPath(path, 0, 0);
  if (!file) return false;
  HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof attributes;
  if (!HidD_GetAttributes(file.get(), &attributes)) return false;
  PHIDP_PREPARSED_DATA preparsed = nullptr;
  if (!HidD_GetPreparsedData(file.get(), &preparsed)) return false;
  HIDP_CAPS caps{};
  NTSTATUS status = HidP_GetCaps(preparsed, &caps);
  HidD_FreePreparsedData(preparsed);
  if (status != HIDP_STATUS_SUCCESS) return false;
  info.key = path;
  info.vendorId = attributes.VendorID;
  info.productId = attributes.ProductID;
  info.version = attributes.VersionNumber;
  info.usagePage = caps.UsagePage;
  info.usage = caps.Usage;
  info.inputLength = caps.InputReportByteLength;
  info.outputLength = caps.OutputReportByteLength;
  return true;
}

class WinHidPort : public Port {
 public:
  WinHidPort(UniqueHandle file, int inputLength, int outputLength, const EventPair* events)
      : file_(std::move(file)), inputLength_(inputLength), outputLength_(outputLength) {
    writeDone_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!events || inputLength_ <= 0) return;
    // A refusal leaves the platform's default: the device still works, bursts may lose more.
    HidD_SetNumInputBuffers(file_.get(), kInputReportBuffers);
    readEvent_ = events->read.get();
    removalEvent_ = events->removal.get();
    stop_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    thread_.reset(CreateThread(nullptr, 0, &WinHidPort::ReaderMain, this, 0, nullptr));
    if (!thread_) Fail();
  }

  ~WinHidPort() override {
    if (thread_) {
      SetEvent(stop_.get());
      WaitForSingleObject(thread_.get(), INFINITE);
    }
  }

  bool Read(uint8_t* buffer) override {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) {
      if (readEvent_) ResetEvent(readEvent_);
      return false;
    }
    std::memcpy(buffer, queue_.front().data(), inputLength_);
    queue_.pop_front();
    if (queue_.empty())
      ResetEvent(readEvent_);
    else
      SetEvent(readEvent_);
    return true;
  }

  bool Write(const uint8_t* buffer) override {
    if (outputLength_ <= 0 || !writeDone_) return false;
    std::vector<uint8_t> report(buffer, buffer + outputLength_);
    OVERLAPPED ov{};
    ov.hEvent = writeDone_.get();
    ResetEvent(ov.hEvent);
    DWORD written = 0;
    if (!WriteFile(file_.get(), report.data(), outputLength_, &written, &ov)) {
      if (GetLastError() != ERROR_IO_PENDING) return false;
      if (WaitForSingleObject(ov.hEvent, kWriteTimeoutMs) != WAIT_OBJECT_0) CancelIo(file_.get());
      // The buffer must outlive the request: wait for it to end, cancelled or not.
      if (!GetOverlappedResult(file_.get(), &ov, &written, TRUE)) return false;
    }
    return written == static_cast<DWORD>(outputLength_);
  }

  void Discard() override {
    std::lock_guard lock(mutex_);
    queue_.clear();
    if (readEvent_) ResetEvent(readEvent_);
  }

  bool Failed() override {
    std::lock_guard lock(mutex_);
    return failed_;
  }

 private:
  static DWORD WINAPI ReaderMain(void* self) {
    static_cast<WinHidPort*>(self)->ReadLoop();
    return 0;
  }

  void Fail() {
    std::lock_guard lock(mutex_);
    failed_ = true;
    if (removalEvent_) SetEvent(removalEvent_);
  }

  void ReadLoop() {
    UniqueHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!done) return Fail();
    std::vector<uint8_t> buffer(inputLength_);
    for (;;) {
      OVERLAPPED ov{};
      ov.hEvent = done.get();
      ResetEvent(ov.hEvent);
      DWORD got = 0;
      if (!ReadFile(file_.get(), buffer.data(), inputLength_, &got, &ov) &&
          GetLastError() != ERROR_IO_PENDING)
        return Fail();
      HANDLE waits[2] = {done.get(), stop_.get()};
      DWORD which = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
      if (which != WAIT_OBJECT_0) {
        CancelIo(file_.get());
        GetOverlappedResult(file_.get(), &ov, &got, TRUE);
        return;
      }
      if (!GetOverlappedResult(file_.get(), &ov, &got, FALSE)) return Fail();
      if (got == 0) continue;
      std::fill(buffer.begin() + std::min<size_t>(got, buffer.size()), buffer.end(), 0);
      std::lock_guard lock(mutex_);
      if (queue_.size() == kQueueLimit) queue_.pop_front();
      queue_.push_back(buffer);
      SetEvent(readEvent_);
    }
  }

  UniqueHandle file_;
  int inputLength_;
  int outputLength_;
  HANDLE readEvent_ = nullptr;
  HANDLE removalEvent_ = nullptr;
  UniqueHandle writeDone_;
  UniqueHandle stop_;
  UniqueHandle thread_;
  std::mutex mutex_;
  std::deque<std::vector<uint8_t>> queue_;
  bool failed_ = false;
};

class SetupDiList {
 public:
  explicit SetupDiList(const GUID& guid)
      : set_(SetupDiGetClassDevsA(&guid, nullptr, nullptr,
                                  DIGCF_PRESENT | DIGCF_DEVICEINTERFACE)) {}
  ~SetupDiList() {
    if (ok()) SetupDiDestroyDeviceInfoList(set_);
  }
  SetupDiList(const SetupDiList&) = delete;
  SetupDiList& operator=(const SetupDiList&) = delete;
  bool ok() const { return set_ != INVALID_HANDLE_VALUE; }
  HDEVINFO get() const { return set_; }

 private:
  HDEVINFO set_;
};

class WinHidBackend : public Backend {
 public:
  bool Enumerate(std::vector<InterfaceInfo>& out) override {
    out.clear();
    GUID hidGuid;
    HidD_GetHidGuid(&hidGuid);
    SetupDiList list(hidGuid);
    if (!list.ok()) return false;
    std::map<std::string, InterfaceInfo> seen;
    for (DWORD index = 0;; ++index) {
      SP_DEVICE_INTERFACE_DATA data{};
      data.cbSize = sizeof data;
      if (!SetupDiEnumDeviceInterfaces(list.get(), nullptr, &hidGuid, index, &data)) {
        if (GetLastError() == ERROR_NO_MORE_ITEMS) break;
        return false;
      }
      DWORD size = 0;
      SetupDiGetDeviceInterfaceDetailA(list.get(), &data, nullptr, 0, &size, nullptr);
      if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) continue;
      std::vector<DWORD> storage((size + sizeof(DWORD) - 1) / sizeof(DWORD));
      auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.data());
      detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
      if (!SetupDiGetDeviceInterfaceDetailA(list.get(), &data, detail, size, nullptr, nullptr))
        continue;
      std::string path = detail->DevicePath;
      // Descriptions do not change while an interface stays attached.
      auto known = described_.find(path);
      InterfaceInfo info;
      if (known != described_.end())
        info = known->second;
      else if (!Describe(path, info))
        continue;
      seen[path] = info;
      out.push_back(std::move(info));
    }
    described_ = std::move(seen);
    return true;
  }

  EventPair CreateEvents(const InterfaceInfo&) override { return MakeLocalEvents(); }

  std::unique_ptr<Port> Open(const InterfaceInfo& info, const EventPair* events) override {
    UniqueHandle file = OpenPath(info.key, GENERIC_READ | GENERIC_WRITE, FILE_FLAG_OVERLAPPED);
    if (!file) {
      if (events) SetEvent(events->removal.get());
      return nullptr;
    }
    return std::make_unique<WinHidPort>(std::move(file), info.inputLength, info.outputLength,
                                        events);
  }

  // The switch command of the keypads is not known here; the device is left as it is.
  bool SwitchMode(const InterfaceInfo&) override { return false; }

 private:
  std::map<std::string, InterfaceInfo> described_;
};

}  // namespace

EventPair MakeLocalEvents() {
  EventPair events;
  events.read.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  events.removal.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  return events;
}

std::unique_ptr<Backend> MakeWinHidBackend() { return std::make_unique<WinHidBackend>(); }

}  // namespace vhx
