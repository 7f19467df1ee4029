// The folders of the simulators that get a copy of the calibration, from the texts their
// registry entries hold.
#pragma once
#include <string>

namespace cal {

// The folder of the program that an open command starts: its first token (quoted or up to the
// first blank) up to its last backslash; "" when there is none.
std::string CommandFolder(const std::string& command);
// The folder a registry value names, as installers write it: without surrounding blanks, the
// quotes around it and trailing backslashes; "" when it names none.
std::string RegistryFolder(const std::string& value);
// The folder an App Paths "Path" value names: its first entry (a semicolon inside quotes
// belongs to the entry), as RegistryFolder takes it.
std::string AppPathFolder(const std::string& value);

}  // namespace cal
