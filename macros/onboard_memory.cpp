#include "macros/onboard_memory.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include "macros/model/macro_context.h"
#include "macros/model/onboard_image.h"
#include "macros/model/onboard_macro_set.h"
#include "macros/model/onboard_protocol.h"
#include "platform/base/system_calls.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/device/input_dispatch.h"
#include "runtime/device/polled_exchange.h"

namespace {

constexpr char kDoesNotFit[] =
    "The macros do not fit into the memory of the Qpad device, so nothing was written to the "
    "device. Shorten the macros and write them again.";
constexpr char kOverlapFormat[] =
    "The memory of the Qpad device cannot hold the macros of key %d without mixing them with "
    "another key's, so nothing was written to the device.";
constexpr char kNotWritable[] = "The macros cannot be written to this Qpad device.";
constexpr char kDeviceGone[] =
    "The Qpad device was removed before its macros were written. Attach it and write the "
    "macros again.";
constexpr char kIncomplete[] =
    "The Qpad device did not take all of its macros, so they were not written. Write them "
    "again.";
constexpr char kEndRefused[] =
    "The Qpad device did not confirm the end of writing; its macros may not be kept. Write "
    "them again.";

constexpr char kLoadingTitle[] = "Loading Macros";
constexpr char kSavingTitle[] = "Saving Macros";

bool DeviceRemoved(const DeviceRecord& device) {
  return device.removalEvent && WaitForSingleObject(device.removalEvent, 0) == WAIT_OBJECT_0;
}

// Why waiting on the device has to end now: the program is ending, or the device went.
std::optional<MemoryWriteResult> WaitEnds(const DeviceRecord& device) {
  if (IsDeviceThreadStopping()) return MemoryWriteResult::kStopping;
  if (DeviceRemoved(device)) return MemoryWriteResult::kDeviceGone;
  return std::nullopt;
}

// Reads reports until one shows the switch in its programming position.
MemoryWriteResult WaitForSwitch(SystemCalls& calls, DeviceRecord& device, PolledUse& polled,
                                OnboardMemoryView& view, const OnboardMemoryTimings& t) {
  std::vector<std::uint8_t> report;
  bool read = false;
  for (int i = 0; i < t.switchProbes && !read; ++i) {
    read = polled.Read(report);
    if (!read) {
      if (const auto why = WaitEnds(device)) return *why;
      view.Pump();
      calls.Sleep(t.retryMs);
    }
  }
  if (!read) report = device.currentReport;
  if (ProgrammingSwitchOn(device, report)) return MemoryWriteResult::kWritten;

  view.ShowSwitchPrompt();
  MemoryWriteResult result = MemoryWriteResult::kWritten;
  for (;;) {
    view.Pump();
    if (view.SwitchPromptCancelled()) {
      result = MemoryWriteResult::kCancelled;
      break;
    }
    if (const auto why = WaitEnds(device)) {
      result = *why;
      break;
    }
    if (polled.Read(report) && ProgrammingSwitchOn(device, report)) break;
    calls.Sleep(t.retryMs);
  }
  view.CloseSwitchPrompt();
  return result;
}

// Writes the chunks that differ from the image as last read; kIncomplete when the device kept
// refusing past the limit.
MemoryWriteResult WriteChunks(SystemCalls& calls, DeviceRecord& device, PolledUse& polled,
                              OnboardMemoryView& view, const OnboardMemoryTimings& t) {
  const std::span<const std::uint8_t> image(device.memoryImage);
  const std::uint32_t start = calls.TickCount();
  for (int offset : ChangedMemoryChunks(image, device.memoryImageRead, kMemoryImageSize)) {
    const std::vector<std::uint8_t> report = MemoryWriteReport(
        device.outputLength, offset, image.subspan(static_cast<std::size_t>(offset)).first<kMemoryChunk>());
    std::uint32_t refusedSince = calls.TickCount();
    while (!polled.Write(report.data())) {
      view.Pump();
      if (const auto why = WaitEnds(device)) return *why;
      const std::uint32_t now = calls.TickCount();
      if (now - start > t.writeLimitMs) return MemoryWriteResult::kIncomplete;
      if (now - refusedSince >= t.reopenAfterMs) {
        polled.Reopen();
        refusedSince = now;
      }
      calls.Sleep(1);
    }
    view.SetProgress(offset + kMemoryChunk);
  }
  view.SetProgress(kMemoryImageSize);
  return MemoryWriteResult::kWritten;
}

MemoryWriteResult EndWriting(SystemCalls& calls, DeviceRecord& device, PolledUse& polled,
                             const OnboardMemoryTimings& t) {
  const std::vector<std::uint8_t> end = MemoryEndReport(device.outputLength);
  const std::uint32_t start = calls.TickCount();
  while (!polled.Write(end.data())) {
    if (const auto why = WaitEnds(device)) return *why;
    if (calls.TickCount() - start > t.endLimitMs) return MemoryWriteResult::kEndRefused;
    calls.Sleep(t.retryMs);
  }
  return MemoryWriteResult::kWritten;
}

const char* TextOf(MemoryWriteResult result) {
  switch (result) {
    case MemoryWriteResult::kNotWritable:
      return kNotWritable;
    case MemoryWriteResult::kCancelled:
      return kMacrosNotWritten;
    case MemoryWriteResult::kDeviceGone:
      return kDeviceGone;
    case MemoryWriteResult::kIncomplete:
      return kIncomplete;
    case MemoryWriteResult::kEndRefused:
      return kEndRefused;
    default:
      return nullptr;  // nothing to tell
  }
}

}  // namespace

bool ReadDeviceMacroMemory(SystemCalls& calls, DeviceRecord& device, OnboardMemoryView& view,
                           const OnboardMemoryTimings& t) {
  device.memoryImageLength = 0;
  if (!device.setUp || device.outputLength < kMemoryReadReportLength) return false;
  MemoryReplies replies(kMemoryReadLength);
  {
    PolledUse polled(device);
    view.ShowProgress(kLoadingTitle, kMemoryReadLength);
    if (polled.Write(MemoryReadRequest(device.outputLength, 0, kMemoryReadLength).data())) {
      const std::uint32_t start = calls.TickCount();
      std::vector<std::uint8_t> reply;
      while (!replies.Complete()) {
        if (polled.Read(reply)) {
          if (replies.Take(reply)) view.SetProgress(replies.Received());
        } else {
          if (WaitEnds(device)) break;
          calls.Sleep(1);
        }
        view.Pump();
        if (calls.TickCount() - start > t.readLimitMs) break;
      }
    }
    view.CloseProgress();
  }
  if (!replies.Complete()) return false;
  device.memoryImage = replies.Bytes();
  device.memoryImageRead = replies.Bytes();
  device.memoryImageLength = kMemoryReadLength;
  return true;
}

MemoryWriteResult WriteDeviceMacroMemory(SystemCalls& calls, DeviceRecord& device, OnboardMemoryView& view,
                                         const OnboardMemoryTimings& t) {
  const int length = device.memoryImageLength;
  if (length <= 0 || length > kMemoryImageSize ||
      device.memoryImage.size() < static_cast<std::size_t>(kMemoryImageSize))
    return MemoryWriteResult::kNothingToWrite;
  MemoryWriteResult result = MemoryWriteResult::kNotWritable;
  if (device.setUp && device.outputLength >= kMemoryWriteReportLength) {
    PolledUse polled(device);
    view.ShowProgress(kSavingTitle, kMemoryImageSize);
    if (device.hasProgrammingSwitch) result = WaitForSwitch(calls, device, polled, view, t);
    else result = MemoryWriteResult::kWritten;
    if (result == MemoryWriteResult::kWritten) result = WriteChunks(calls, device, polled, view, t);
    view.CloseProgress();
    if (result == MemoryWriteResult::kWritten) result = EndWriting(calls, device, polled, t);
  }
  if (result == MemoryWriteResult::kWritten) {
    device.programmingAllowed = false;
    device.memoryImageRead.assign(device.memoryImage.begin(), device.memoryImage.begin() + kMemoryImageSize);
  } else if (const char* text = TextOf(result)) {
    view.ReportError(text);
  }
  return result;
}

bool PackDeviceMacroImage(const MacroContext& context, DeviceRecord& device, OnboardMemoryView& view) {
  DeviceMacroSet set = BuildDeviceMacroSet(context);
  switch (EncodeDeviceMacroImage(set, device.memoryImage, device.memoryImageLength)) {
    case ImagePackResult::kPacked:
      return true;
    case ImagePackResult::kDoesNotFit:
      view.ReportError(kDoesNotFit);
      return false;
    case ImagePackResult::kDirectoryOverlap: {
      char text[sizeof kOverlapFormat + 8];
      std::snprintf(text, sizeof text, kOverlapFormat, set.highestKey);
      view.ReportError(text);
      return false;
    }
  }
  return false;
}

bool ImportOnboardMacros(MacroContext& context, const DeviceRecord& device) {
  if (!device.onboardMacros || device.memoryImageLength <= 0) return false;
  const std::size_t length = std::min(device.memoryImage.size(), static_cast<std::size_t>(device.memoryImageLength));
  const DeviceMacroSet set =
      DecodeDeviceMacroImage(std::span(device.memoryImage.data(), length), OnboardHighestKey(context));
  return ImportDeviceMacros(context, set);
}
