// Fuzz target: "EXE Name Table.csv" over arbitrary text. Every entry has an exe and a name,
// trimmed, without a comma or a line end, the exe in lower case, neither longer than a line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/fuzz/fuzz_check.h"
#include "ui/layers/exe_name_table.h"

namespace {

bool Trimmed(const std::string& s) {
  auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
  return !s.empty() && !space(s.front()) && !space(s.back());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ExeNameTable table;
  ReadExeNameTable(text, table);
  for (const auto& [exe, name] : table) {
    Check(Trimmed(exe) && Trimmed(name));
    Check(exe.find_first_of(",\n") == std::string::npos && name.find_first_of(",\n") == std::string::npos);
    Check(LowerAscii(exe) == exe);
    Check(exe.size() + name.size() < kExeNameTableLineChars);
  }
  // Reading it again adds nothing new.
  ExeNameTable again = table;
  ReadExeNameTable(text, again);
  Check(again == table);
  return 0;
}
