// Hooks for tests only: the production KDF cost would make every test take seconds.
#pragma once

#include <cstdint>

namespace engine::core {

// Files encrypted from now on get scrypt N = 2^log2N (tests use 10); log2N is clamped to the bounds a reader
// accepts (kMinLog2N..kMaxLog2N). Reading always honours the cost written in the file. Roster's user codes
// keep their fixed cost (about 0.1 s), so that a code is the same in every test and in the program.
void setScryptCostForTesting(std::uint8_t log2N);

}  // namespace engine::core
