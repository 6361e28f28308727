// SPDX-License-Identifier: GPL-3.0-or-later
// Key generation from the operating system's random generator.
#pragma once

#include <string>

#include "engine/Ports.h"

namespace Tumbler {

// A new typeable key of at least 256 random bits into the field.
void key(int n, engine::TextField& field);

// A key of exactly `bits` random bits as lowercase hexadecimal; throws engine::Error for bits outside 1..65536.
void keynb(int bits, engine::TextField& field);

}  // namespace Tumbler
