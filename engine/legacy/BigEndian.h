// SPDX-License-Identifier: GPL-3.0-or-later
// The older bases read their headers with the engine's big-endian helpers.
#pragma once

#include "engine/core/BigEndian.h"

namespace engine::legacy {

using core::readBigEndian;
using core::writeBigEndian;

}  // namespace engine::legacy
