#include "ui/key_caps/key_cap_port.h"

#include "macros/gdiplus_view_images.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "macros/script_file_write.h"
#include "platform/base/system_calls.h"
#include "platform/vhxhid/vhxhid.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/device/input_dispatch.h"
#include "runtime/device/program_messages.h"
#include "ui/key_caps/key_cap_dialogs.h"

namespace {

bool InTable(const DeviceRecord* device) {
  for (const auto& d : GetDeviceTable())
    if (d.get() == device) return true;
  return false;
}

}  // namespace

DeviceRecord* DeviceRecordOf(const MacroContext& context) {
  for (const auto& d : GetDeviceTable())
    if (d->macroContext == &context) return d.get();
  return nullptr;
}

std::vector<int> FlushDeviceReports(DeviceRecord& d) {
  if (!d.setUp || d.currentReport.empty()) return {};
  if (d.readEvent) ResetEvent(d.readEvent);
  if (d.unmaskedReport.size() != d.currentReport.size()) d.unmaskedReport = d.currentReport;
  for (int n = 0; n < kMaxFlushReads; ++n) {
    if (VhxReadReport(d.hidHandle, d.currentReport.data()) != VHX_OK) break;
    d.unmaskedReport = d.currentReport;
  }
  // The keys as the device holds them, disabled ones too: a spacer's key is held while the
  // spacer is in.
  d.currentReport = d.unmaskedReport;
  std::vector<std::uint8_t> codes;
  PressedKeysToCodes(d, codes);
  for (std::size_t i = 0; i < d.currentReport.size() && i < d.keyEnableMask.size(); ++i)
    d.currentReport[i] &= d.keyEnableMask[i];
  d.previousReport = d.currentReport;
  std::vector<int> held;
  for (std::uint8_t code : codes)
    if (code != kNoPendingKey) held.push_back(code);
  return held;
}

DeviceKeyCapPort::DeviceKeyCapPort(SystemCalls& calls, MacroContext& context, DeviceRecord* device, HWND window,
                                   KeyCapWindow& keyCapWindow)
    : calls_(calls),
      context_(context),
      given_(device),
      inTable_(!device || InTable(device)),
      window_(window),
      keyCapWindow_(keyCapWindow) {}

DeviceRecord* DeviceKeyCapPort::Device() const { return inTable_ ? DeviceRecordOf(context_) : given_; }

std::shared_ptr<ViewImage> DeviceKeyCapPort::CapImage(const std::string& name) {
  std::wstring path = context_.imagesFolder;
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  path += std::wstring(name.begin(), name.end());
  return GdiplusImageLoader().LoadImage(path, context_.view.canvas.get());
}

std::shared_ptr<ViewImage> DeviceKeyCapPort::SpacerImage() {
  std::wstring path;
  if (!context_.device || !context_.device->ResolveButtonImage(context_.layoutFolder, kKeySpacerImageName, path))
    return nullptr;
  return GdiplusImageLoader().LoadImage(path, context_.view.canvas.get());
}

void DeviceKeyCapPort::SetKeyEnabled(int keyId, bool enabled) {
  if (DeviceRecord* d = Device(); d && d->setUp) SetDeviceKeyEnabled(*d, keyId, enabled);
}

void DeviceKeyCapPort::Redraw() {
  // The view may be built before its window exists.
  if (window_ && IsWindow(window_)) PostMessageA(window_, kRedrawKeyMessage, 0, 0);
}

void DeviceKeyCapPort::WriteScript() {
  DeviceRecord* d = Device();
  if (!d || !d->folder) return;
  WriteScriptFileAndTell(calls_, context_, GetDeviceScriptFileName(d->folder, d->unitId), window_);
}

void DeviceKeyCapPort::CancelEditor() { keyCapWindow_.CancelMacroEditor(context_); }

bool DeviceKeyCapPort::Ask(KeyCapQuestion question) {
  const KeyCapQuestionText& q = TextOf(question);
  // Owned by the window, which is disabled meanwhile: its commands cannot run (and close it)
  // under the question.
  const BoxAnswer answer =
      calls_.ShowMessageBox(window_, q.text, q.caption, q.yesNo ? BoxButtons::YesNo : BoxButtons::OkCancel);
  return answer == (q.yesNo ? BoxAnswer::Yes : BoxAnswer::Ok);
}

std::vector<int> DeviceKeyCapPort::FlushHeldKeys() {
  DeviceRecord* d = Device();
  return d ? FlushDeviceReports(*d) : std::vector<int>{};
}

void DeviceKeyCapPort::OpenDetectionDialog() {
  OpenKeyCapDialog(calls_, KeyCapDialogKind::kDetection, context_, std::make_unique<DeviceKeyCapPort>(*this),
                   window_, keyCapWindow_);
}

void DeviceKeyCapPort::OpenRemovalDialog() {
  OpenKeyCapDialog(calls_, KeyCapDialogKind::kRemoval, context_, std::make_unique<DeviceKeyCapPort>(*this),
                   window_, keyCapWindow_);
}
