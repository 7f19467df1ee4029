// Fuzz target: the simulators' folders from their registry texts, the input's first line an
// open command and the rest an App Paths value. A command's folder is its program's text up to
// a backslash, and a command written for a folder gives that folder back; an App Paths folder
// is its first entry trimmed, reads as itself again, and comes back from a value written for it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "calibration/destination_folders.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

void CheckCommand(const std::string& command) {
  const std::string folder = cal::CommandFolder(command);
  if (!folder.empty()) {
    const std::size_t start = command.find_first_not_of(' ');
    const bool quoted = command[start] == '"';
    const std::size_t from = start + (quoted ? 1 : 0);
    Check(command.compare(from, folder.size() + 1, folder + "\\") == 0);
    Check(folder.find(quoted ? '"' : ' ') == std::string::npos);
  }
  // A folder without quotes comes back from the open command written for a program in it.
  if (command.find('"') == std::string::npos) {
    const std::string written = "\"" + command + "\\train.exe\" \"%1\" -x\\y";
    Check(cal::CommandFolder(written) == command);
    if (command.find(' ') == std::string::npos)
      Check(cal::CommandFolder(command + "\\train.exe %1\\x") == command);
  }
}

void CheckAppPath(const std::string& value) {
  const std::string folder = cal::AppPathFolder(value);
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  Check(folder.find('"') == std::string::npos);
  if (!folder.empty()) Check(!blank(folder.front()) && !blank(folder.back()) && folder.back() != '\\');
  // A folder without a semicolon is its own entry; quoted, any folder is one entry.
  if (folder.find(';') == std::string::npos) Check(cal::AppPathFolder(folder) == folder);
  Check(cal::AppPathFolder(" \"" + folder + "\"\\ ;" + value) == folder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::size_t end = text.find('\n');
  const std::string command = text.substr(0, end);
  const std::string value = end == std::string::npos ? std::string() : text.substr(end + 1);
  CheckCommand(command);
  CheckCommand(value);
  CheckAppPath(value);
  CheckAppPath(command);
  return 0;
}
