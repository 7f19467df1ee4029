#pragma once
// Reading a keypad's on-board macro memory into its record, and writing the record's image
// back, over the HID library in polled use (the interface is back in event use afterwards).
// Both run on the device thread and keep its windows pumped while they wait; their clock and
// pauses are the platform's calls they are given.

#include <cstdint>
#include <vector>

class SystemCalls;
struct DeviceRecord;
struct MacroContext;

// What the user sees of an exchange. The program's are the dialogs of onboard_memory_dialogs.h;
// tests give their own.
class OnboardMemoryView {
 public:
  virtual ~OnboardMemoryView() = default;
  virtual void ShowProgress(const char* title, int range) = 0;
  virtual void SetProgress(int position) = 0;
  virtual void CloseProgress() = 0;
  // Asks the user to put the programming switch into its programming position; Cancel there
  // makes SwitchPromptCancelled true.
  virtual void ShowSwitchPrompt() = 0;
  virtual bool SwitchPromptCancelled() = 0;
  virtual void CloseSwitchPrompt() = 0;
  // Dispatches the calling thread's pending window messages.
  virtual void Pump() = 0;
  // Tells the user why the macros are not on the device.
  virtual void ReportError(const char* text) = 0;
};

// Told when the macros did not reach the device and no more is known of why.
inline constexpr char kMacrosNotWritten[] = "The macros were not written to the Qpad device.";

struct OnboardMemoryTimings {
  unsigned readLimitMs = 40880;     // the read gives up after this (10 ms a byte)
  unsigned writeLimitMs = 122400;   // the writing of the chunks gives up after this
  unsigned reopenAfterMs = 300;     // refused writes reopen polled use this often
  unsigned endLimitMs = 5000;       // the end of writing is retried this long
  int switchProbes = 1000;          // reports tried for the switch's position before the record's
  unsigned retryMs = 10;            // pause between tries
};

// Reads the memory (0 .. 4088) into memoryImage and memoryImageRead, memoryImageLength 4088.
// False when the request was refused, the replies did not cover it in time, or the device went
// (memoryImageLength 0 then, the image left as it was).
bool ReadDeviceMacroMemory(SystemCalls& calls, DeviceRecord& device, OnboardMemoryView& view,
                           const OnboardMemoryTimings& timings = {});

enum class MemoryWriteResult {
  kWritten,
  kNothingToWrite,  // no image of a length from 1 to 4080
  kNotWritable,     // the device's output reports cannot carry a write
  kCancelled,       // the user cancelled the wait for the programming switch
  kDeviceGone,
  kStopping,        // the program is ending
  kIncomplete,      // writes kept being refused
  kEndRefused,      // every chunk went, the end of writing did not
};

// Writes every 4-byte chunk of memoryImage that differs from memoryImageRead (all without a
// read), after waiting for the programming switch on a device that has one, then the end of
// writing. Written: programming is no longer allowed, and memoryImageRead is the image.
// Anything short of that is told to the user (but for the program's end); after refused
// chunks the end of writing is not sent, so that the device keeps what it had.
MemoryWriteResult WriteDeviceMacroMemory(SystemCalls& calls, DeviceRecord& device, OnboardMemoryView& view,
                                         const OnboardMemoryTimings& timings = {});

// Builds the layout's set and packs it into the device's image, so that a write is due; false
// (told to the user, memoryImageLength 0) when the macros do not fit or the layout's highest
// key cannot have its entries in the image.
bool PackDeviceMacroImage(const MacroContext& context, DeviceRecord& device, OnboardMemoryView& view);

// For the programming window as it opens, after the device's script was read: a device whose
// macros were read from its memory (onboardMacros) has that image unpacked for the context's
// keys and imported as a new layout, written to its script file. False when nothing was
// imported.
bool ImportOnboardMacros(MacroContext& context, const DeviceRecord& device);
