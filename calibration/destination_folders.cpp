#include "calibration/destination_folders.h"

#include "calibration/vcl/file_names.h"

namespace cal {

std::string CommandFolder(const std::string& command) {
  // Open commands are usually quoted ("C:\...\x.exe" "%1"), and their arguments may hold
  // backslashes: only the program's own path names the folder.
  size_t i = command.find_first_not_of(' ');
  if (i == std::string::npos) return {};
  std::string program;
  if (command[i] == '"') {
    const size_t close = command.find('"', i + 1);
    program = command.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
  } else {
    const size_t blank = command.find(' ', i);
    program = command.substr(i, blank == std::string::npos ? std::string::npos : blank - i);
  }
  return vcl::FolderOf(program);
}

std::string RegistryFolder(const std::string& value) {
  // A quote can be no part of a Windows path: every quote goes, wherever the installer put it
  // ("C:\Program Files\X" or "C:\Program Files\X\").
  std::string folder;
  for (char c : value)
    if (c != '"') folder += c;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!folder.empty() && (blank(folder.back()) || folder.back() == '\\')) folder.pop_back();
  size_t start = 0;
  while (start < folder.size() && blank(folder[start])) ++start;
  return folder.substr(start);
}

std::string AppPathFolder(const std::string& value) {
  // "Path" is a search list; the program's own folder comes first.
  bool quoted = false;
  size_t end = 0;
  for (; end < value.size() && (quoted || value[end] != ';'); ++end)
    if (value[end] == '"') quoted = !quoted;
  return RegistryFolder(value.substr(0, end));
}

}  // namespace cal
