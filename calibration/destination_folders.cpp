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

std::string AppPathFolder(const std::string& value) {
  // "Path" is a search list; the program's own folder comes first.
  std::string folder = value.substr(0, value.find(';'));
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == ' ')) folder.pop_back();
  while (!folder.empty() && folder.front() == ' ') folder.erase(folder.begin());
  return folder;
}

}  // namespace cal
