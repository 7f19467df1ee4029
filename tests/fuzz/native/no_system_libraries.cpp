// The native fuzz build has no platform loader: a library a script names never loads there.
#include "runtime/script/library_loader.h"

namespace {

class NoLibraries : public LibraryLoader {
 public:
  void* Load(const std::string&) override { return nullptr; }
  void* FindExport(void*, const std::string&) override { return nullptr; }
};

}  // namespace

LibraryLoader& SystemLibraries() {
  static NoLibraries loader;
  return loader;
}
