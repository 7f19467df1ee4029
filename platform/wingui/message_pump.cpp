#include "platform/wingui/message_pump.h"

#include <algorithm>
#include <utility>

namespace wingui {

MessagePump::HookRegistration::HookRegistration(HookRegistration&& other) noexcept
    : pump_(std::exchange(other.pump_, nullptr)), entry_(std::exchange(other.entry_, nullptr)) {}

MessagePump::HookRegistration& MessagePump::HookRegistration::operator=(
    HookRegistration&& other) noexcept {
  if (this != &other) {
    Reset();
    pump_ = std::exchange(other.pump_, nullptr);
    entry_ = std::exchange(other.entry_, nullptr);
  }
  return *this;
}

void MessagePump::HookRegistration::Reset() {
  if (pump_) pump_->RemoveEntry(entry_);
  pump_ = nullptr;
  entry_ = nullptr;
}

namespace {

void WINAPI DeletePump(void* pump) { delete static_cast<MessagePump*>(pump); }

// A fiber-local slot whose callback frees the thread's pump when the thread ends. (A C++
// thread_local with a destructor, used on a thread that the platform made, crashed the process
// at its exit.)
DWORD PumpSlot() {
  static const DWORD slot = FlsAlloc(&DeletePump);
  return slot;
}

}  // namespace

MessagePump& MessagePump::ForThisThread() {
  const DWORD slot = PumpSlot();
  if (auto* pump = static_cast<MessagePump*>(FlsGetValue(slot))) return *pump;
  auto pump = std::make_unique<MessagePump>();
  FlsSetValue(slot, pump.get());
  return *pump.release();
}

void MessagePump::AddDialog(HWND dialog, HACCEL accelerators) {
  for (auto& e : entries_) {
    if (e->dialog == dialog) {
      e->accelerators = accelerators;
      return;
    }
  }
  auto entry = std::make_shared<Entry>();
  entry->dialog = dialog;
  entry->accelerators = accelerators;
  entries_.push_back(std::move(entry));
}

void MessagePump::RemoveDialog(HWND dialog) {
  std::erase_if(entries_, [dialog](const auto& e) { return e->dialog == dialog; });
}

bool MessagePump::HasDialog(HWND dialog) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [dialog](const auto& e) { return e->dialog == dialog; });
}

MessagePump::HookRegistration MessagePump::AddHook(Hook hook) {
  auto entry = std::make_shared<Entry>();
  entry->hook = std::move(hook);
  const void* key = entry.get();
  entries_.push_back(std::move(entry));
  return HookRegistration(this, key);
}

void MessagePump::RemoveEntry(const void* entry) {
  std::erase_if(entries_, [entry](const auto& e) { return e.get() == entry; });
}

bool MessagePump::PreTranslate(MSG& msg) {
  std::erase_if(entries_, [](const auto& e) { return !e->hook && !IsWindow(e->dialog); });
  if (entries_.empty()) return false;
  // A dialog or hook may open or close dialogs (and so change the list) while it works.
  const std::vector<std::shared_ptr<Entry>> snapshot = entries_;
  for (const auto& e : snapshot) {
    if (e->hook) {
      if (e->hook(msg)) return true;
      continue;
    }
    if (e->accelerators && TranslateAcceleratorA(e->dialog, e->accelerators, &msg)) return true;
    // Takes every message of the dialog and its controls, not only the keys.
    if (IsDialogMessageA(e->dialog, &msg)) return true;
  }
  return false;
}

void MessagePump::Dispatch(MSG& msg) {
  if (PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

bool MessagePump::PumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    Dispatch(msg);
  }
  return true;
}

int MessagePump::Run() {
  MSG msg{};
  int result;
  while ((result = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
    if (result == -1) break;
    Dispatch(msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace wingui
