#include "ui/programming_window/shell_links.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

namespace {

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

std::optional<std::wstring> ResolveShortcut(const std::wstring& path) {
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.Out()))))
    return std::nullopt;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out()))) ||
      FAILED(file->Load(path.c_str(), STGM_READ)) ||
      FAILED(link->Resolve(GetDesktopWindow(), SLR_NO_UI)))
    return std::nullopt;
  wchar_t target[MAX_PATH] = L"";
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, 0)) || target[0] == L'\0') return std::nullopt;
  return std::wstring(target);
}
