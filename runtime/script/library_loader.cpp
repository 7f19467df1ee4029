#include "runtime/script/library_loader.h"

#include <windows.h>

namespace {

class SystemLibraryLoader : public LibraryLoader {
 public:
  void* Load(const std::string& path) override {
    return path.empty() ? nullptr : static_cast<void*>(LoadLibraryA(path.c_str()));
  }
  void* FindExport(void* library, const std::string& name) override {
    if (!library || name.empty()) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
  }
  void Free(void* library) override {
    if (library) FreeLibrary(static_cast<HMODULE>(library));
  }
};

}  // namespace

LibraryLoader& SystemLibraries() {
  static SystemLibraryLoader loader;
  return loader;
}
