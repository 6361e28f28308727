// SPDX-License-Identifier: GPL-3.0-or-later
// The choice between normal and fast encryption of the open file: fast encryption is offered only when
// the size value in `velikost` exceeds the key's length by more than 256, and used only on Yes.
#pragma once

class EngineKey;
class QLabel;

// The size value of the open file, read back from `velikost`; throws the integer-conversion error.
int sizeValue(const QLabel& velikost);

// Asks "Otázka" when `size` > key length + 256; true only on Yes. Asks nothing (false) otherwise.
bool wantsFastEncryption(int size, const EngineKey& key);
