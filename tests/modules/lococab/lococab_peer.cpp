// The other process of the bridge tests: loads Lococab.dll from its own folder, runs the
// commands of its command line in order and prints their results, each followed by ";".
#include "tests/modules/lococab/lococab_library.h"

#include <cstdio>

int main(int argc, char** argv) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  folder.erase(folder.find_last_of('\\') + 1);
  lococabtest::LococabLibrary lib(folder + "Lococab.dll");
  if (!lib.ok()) {
    std::printf("cannot load: %s\n", lib.missing().c_str());
    return 2;
  }
  std::vector<std::string> commands(argv + 1, argv + argc);
  std::printf("%s\n", lococabtest::RunCommands(lib, commands).c_str());
  std::fflush(stdout);
  return 0;
}
