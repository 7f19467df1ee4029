// The other process of the bridge tests: loads Lococab.dll from its own folder, runs the
// commands of its command line in order and prints their results, each followed by ";". With
// the one argument "-" it runs the commands of its standard input instead, one a line, and
// answers each with a line of its own, until the input ends.
#include "tests/modules/lococab/lococab_library.h"

#include <cstdio>
#include <cstring>

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
  if (argc == 2 && std::strcmp(argv[1], "-") == 0) {
    char line[512];
    while (std::fgets(line, sizeof line, stdin)) {
      std::string command(line);
      while (!command.empty() && (command.back() == '\n' || command.back() == '\r'))
        command.pop_back();
      if (command.empty()) continue;
      std::printf("%s\n", lococabtest::RunCommand(lib, command).c_str());
      std::fflush(stdout);
    }
    return 0;
  }
  std::vector<std::string> commands(argv + 1, argv + argc);
  std::printf("%s\n", lococabtest::RunCommands(lib, commands).c_str());
  std::fflush(stdout);
  return 0;
}
