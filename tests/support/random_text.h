#pragma once
#include <random>
#include <string>
#include <vector>

namespace testsupport {

// Up to maxParts parts, each one of pieces or (about one time in three) a random byte:
// inputs for fuzz-style tests that reach the interesting paths more often than bytes alone.
std::string RandomText(std::mt19937& rng, const std::vector<std::string>& pieces, int maxParts);

}  // namespace testsupport
