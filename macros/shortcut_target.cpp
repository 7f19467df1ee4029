#include "macros/shortcut_target.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace {

// COM for the calling thread, for as long as the lookup needs it (a thread that has it already
// keeps it as it was).
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace

std::optional<std::wstring> ResolveShortcutTarget(const std::wstring& path) {
  const ComScope com;
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.Out()))))
    return std::nullopt;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out())))) return std::nullopt;
  if (FAILED(file->Load(path.c_str(), STGM_READ))) return std::nullopt;
  if (FAILED(link->Resolve(GetDesktopWindow(), SLR_NO_UI))) return std::nullopt;
  wchar_t target[MAX_PATH] = L"";
  if (link->GetPath(target, MAX_PATH, nullptr, 0) != S_OK || !target[0]) return std::nullopt;
  return std::wstring(target);
}
