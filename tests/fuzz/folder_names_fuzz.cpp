// Fuzz target: the names of the program and device folders. The input's first line is a
// command line, its second a data root, its third the vendor id, product id and version in
// hexadecimal. Every path fits the platform's limit or is empty, and every cut is a prefix.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/path_text.h"
#include "runtime/device/device_folders.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  return line;
}

int NextHex(std::string_view& line) {
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  unsigned value = 0;
  for (; !line.empty() && std::isxdigit(static_cast<unsigned char>(line.front()));
       line.remove_prefix(1)) {
    const char c = line.front();
    value = value * 16 + (c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
  }
  if (!line.empty()) line.remove_prefix(1);
  return static_cast<int>(value);
}

void CheckJoin(const std::string& folder, const std::string& name) {
  const std::string path = JoinPath(folder, name);
  // Too long is missing, never cut into another name.
  const std::string whole = folder + (folder.ends_with('\\') ? "" : "\\") + name;
  Check(path.empty() == (folder.empty() || whole.size() > kMaxPathChars));
  if (!path.empty()) Check(path == whole);
}

void CheckCuts(const std::string& path) {
  const std::string at = CutAtLastBackslash(path);
  const std::string after = CutAfterLastBackslash(path);
  if (path.find('\\') == std::string::npos) {
    Check(at.empty() && after.empty());
    return;
  }
  Check(after == at + "\\" && path.starts_with(after));
  Check(path.substr(after.size()).find('\\') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string commandLine(NextLine(text));
  const std::string root(NextLine(text));
  std::string_view numbers = NextLine(text);
  const int vendorId = NextHex(numbers);
  const int productId = NextHex(numbers);
  const int version = NextHex(numbers);

  // The program folder is the first token cut after its last separator.
  const std::string program = ProgramFolderFromCommandLine(commandLine);
  if (!program.empty()) {
    const std::size_t from = commandLine.starts_with('"') ? 1 : 0;
    Check(commandLine.compare(from, program.size(), program) == 0);
    Check(program.back() == '\\' || program.back() == ':');
  }

  for (bool upperCase : {false, true}) {
    const std::string folder = DeviceFolderName(root, vendorId, productId, version, upperCase);
    Check(folder.size() <= kMaxPathChars);
    if (folder.empty()) continue;
    const std::size_t name = folder.rfind('\\') + 1;
    Check(folder.size() - name == (version > 0 ? 19u : 14u));
    Check(folder.compare(name, 3, "Vid") == 0 && folder.starts_with(root));
  }
  CheckJoin(root, commandLine);
  CheckJoin(program, root);
  CheckCuts(root);
  CheckCuts(commandLine);
  return 0;
}
