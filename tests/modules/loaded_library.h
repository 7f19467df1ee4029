#pragma once
// A library of the build loaded by path, with its exports bound to typed pointers by name.
#include <windows.h>

#include <string>

namespace modulestest {

class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& path) : module_(LoadLibraryA(path.c_str())) {
    if (!module_) missing_ = "the library itself";
  }
  ~LoadedLibrary() { Unload(); }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  // Loaded, with every export bound; else missing() names what is not.
  bool ok() const { return missing_.empty(); }
  const std::string& missing() const { return missing_; }
  void Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }

 protected:
  template <typename F>
  void Bind(F& f, const char* name) {
    f = module_ ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)))
                : nullptr;
    if (module_ && !f) missing_ += std::string(missing_.empty() ? "" : " ") + name;
  }

 private:
  HMODULE module_;
  std::string missing_;
};

}  // namespace modulestest
