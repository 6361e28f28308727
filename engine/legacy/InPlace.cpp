// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/legacy/InPlace.h"

#include "engine/Ports.h"
#include "engine/core/Cancel.h"
#include "engine/core/Messages.h"

namespace engine::legacy {

void decryptInPlace(const std::string& path, const std::string& key, const OlderBase& base) {
    const core::PlacedFile file = core::placeRegularFile(path);
    const core::InputFile in(file.folder, file.name);
    core::Magic magic{};
    if (!in.readExactAt(magic.data(), magic.size(), 0) || magic != base.magic) throw Error(msg::kNotOurFile);
    if (in.size() < base.minimalSize) throw Error(msg::kDamaged);
    const std::unique_ptr<Decryption> decryption = base.open(in, key);
    core::ReplacementFile out(file.folder, file.name, decryption->largestPlainSize());
    const std::uint64_t plainSize = decryption->decryptInto(out);
    core::stopIfCancelled();
    out.commit(plainSize, in);
}

}  // namespace engine::legacy
