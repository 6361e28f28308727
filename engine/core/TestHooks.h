// Hooks for tests only: the production KDF cost would make every test take seconds.
#pragma once

#include <cstdint>

namespace engine::core {

// New files (and Roster's user codes are not affected) get scrypt N = 2^log2N; log2N is clamped to the
// bounds a reader accepts (kMinLog2N..kMaxLog2N). Reading always honours the cost written in the file.
void setScryptCostForTesting(std::uint8_t log2N);

}  // namespace engine::core
