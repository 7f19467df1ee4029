#include "runtime/functions/saved_clipboard.h"

#include <windows.h>

#include <cstdio>
#include <new>

#include "platform/base/system_calls.h"
#include "runtime/device/device_folders.h"

namespace {

std::string& Folder() {
  static std::string folder;
  return folder;
}

HWND ClipboardWindow(HWND owner) {
  if (owner) return owner;
  thread_local HWND own = nullptr;
  if (!own || !IsWindow(own))
    own = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  return own;
}

}  // namespace

void CaptureClipboardFolder() {
  char buffer[MAX_PATH + 1];
  const DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  Folder() = (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : std::string();
}

std::string GetClipboardFolder() {
  if (Folder().empty()) CaptureClipboardFolder();
  return Folder();
}

std::string ClipDataFilePath(int key) {
  std::string folder = GetClipboardFolder();
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder.empty() ? ClipDataFileName(key) : folder + "\\" + ClipDataFileName(key);
}

void SaveClipboard(SystemCalls& calls, HWND owner, int key) {
  calls.RenderClipboardFormats();
  const std::unique_ptr<ClipboardAccess> clipboard = calls.OpenClipboardFor(ClipboardWindow(owner));
  if (!clipboard) return;
  FilePtr file(std::fopen(ClipDataFilePath(key).c_str(), "w+b"));
  if (!file) return;
  const std::uint32_t format = clipboard->FirstFormat();
  if (format == 0 || format == kUnsavedClipboardFormat) return;
  // Handle formats (bitmaps, metafiles) are no memory blocks: nothing is saved.
  const std::optional<std::vector<std::uint8_t>> data = clipboard->Data(format);
  if (!data) return;
  const std::vector<std::uint8_t> bytes = EncodeClipData(format, data->data(), data->size());
  std::fwrite(bytes.data(), 1, bytes.size(), file.get());
}

void PasteScrap(SystemCalls& calls, HWND owner, int key) {
  const std::unique_ptr<ClipboardAccess> clipboard = calls.OpenClipboardFor(ClipboardWindow(owner));
  if (!clipboard) return;
  FilePtr file(std::fopen(ClipDataFilePath(key).c_str(), "rb"));
  if (!file) return;
  std::uint8_t head[kClipDataHeaderBytes];
  if (std::fread(head, 1, sizeof head, file.get()) != sizeof head) return;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return;
  const long length = std::ftell(file.get());
  std::uint32_t format = 0;
  std::size_t dataLength = 0;
  if (length < 0 || !ClipDataLayout(head, static_cast<std::size_t>(length), format, dataLength))
    return;
  if (std::fseek(file.get(), static_cast<long>(kClipDataHeaderBytes), SEEK_SET) != 0) return;
  std::vector<std::uint8_t> data;
  try {
    data.resize(dataLength);
  } catch (const std::bad_alloc&) {
    return;  // no room for the file's data: the clipboard stays as it is
  }
  // A file that shrank under us is refused rather than restored in part.
  if (std::fread(data.data(), 1, dataLength, file.get()) != dataLength) return;
  clipboard->Replace(format, data);
}
