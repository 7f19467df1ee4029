#pragma once
// The folder that holds an overlay's pictures, and the paths of the pictures in it. Plain C++.

#include <string>
#include <string_view>

namespace qpadcal {

// Cuts path at its last backslash, or failing one at its last forward slash; the separator
// goes too. A path without either stays whole.
void CutAtLastSeparator(std::string& path);

// folder + "\" + file, of any length.
std::string PicturePath(std::string_view folder, std::string_view file);

}  // namespace qpadcal
