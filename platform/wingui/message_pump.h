#pragma once
// The message loop of one thread with the keyboard handling of its modeless dialogs: each
// registered dialog (with its accelerators) and each hook sees a message before it is
// translated and dispatched. The device thread's waits pump through it, and so does the
// program's main loop.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace wingui {

class MessagePump {
 public:
  // A hook takes a message (returns true) or leaves it to the next in line.
  using Hook = std::function<bool(MSG& msg)>;

  // Removes its hook when it goes; it must not outlive the pump (the thread).
  class HookRegistration {
   public:
    HookRegistration() = default;
    ~HookRegistration() { Reset(); }
    HookRegistration(HookRegistration&& other) noexcept;
    HookRegistration& operator=(HookRegistration&& other) noexcept;
    HookRegistration(const HookRegistration&) = delete;
    HookRegistration& operator=(const HookRegistration&) = delete;
    void Reset();

   private:
    friend class MessagePump;
    HookRegistration(MessagePump* pump, const void* entry) : pump_(pump), entry_(entry) {}
    MessagePump* pump_ = nullptr;
    const void* entry_ = nullptr;
  };

  MessagePump() = default;
  MessagePump(const MessagePump&) = delete;
  MessagePump& operator=(const MessagePump&) = delete;

  // The pump of the calling thread, made on first use; the thread's modeless Dialogs register
  // with it themselves.
  static MessagePump& ForThisThread();

  // Dialogs and hooks are asked in the order they were added. A dialog gets its accelerators
  // (when given) and then IsDialogMessage, which takes every message of the dialog and its
  // controls (keys or not), so a hook added after a dialog never sees that dialog's messages.
  // A dialog that no longer exists is dropped. Adding a dialog again only replaces its
  // accelerators.
  void AddDialog(HWND dialog, HACCEL accelerators = nullptr);
  void RemoveDialog(HWND dialog);
  bool HasDialog(HWND dialog) const;
  [[nodiscard]] HookRegistration AddHook(Hook hook);
  std::size_t Size() const { return entries_.size(); }

  // True when a dialog or a hook took the message.
  bool PreTranslate(MSG& msg);
  // PreTranslate, else TranslateMessage and DispatchMessage.
  void Dispatch(MSG& msg);
  // Handles every queued message of the thread without waiting. On WM_QUIT it stops and posts
  // the quit again for the loop outside; false then.
  bool PumpPending();
  // GetMessage loop up to WM_QUIT; its exit code.
  int Run();

 private:
  struct Entry {
    HWND dialog = nullptr;
    HACCEL accelerators = nullptr;
    Hook hook;
  };
  void RemoveEntry(const void* entry);

  // Shared, so that a dialog that goes while a message is on its way through does not pull
  // the entry from under the loop.
  std::vector<std::shared_ptr<Entry>> entries_;
};

}  // namespace wingui
