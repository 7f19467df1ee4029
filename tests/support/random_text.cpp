#include "tests/support/random_text.h"

namespace testsupport {

std::string RandomText(std::mt19937& rng, const std::vector<std::string>& pieces, int maxParts) {
  std::string text;
  int parts = static_cast<int>(rng() % static_cast<unsigned>(maxParts + 1));
  for (int k = 0; k < parts; ++k) {
    if (!pieces.empty() && rng() % 3)
      text += pieces[rng() % pieces.size()];
    else
      text += static_cast<char>(rng() % 256);
  }
  return text;
}

}  // namespace testsupport
