#include "engine/legacy/InPlace.h"

#include "engine/Ports.h"
#include "engine/core/Messages.h"

namespace engine::legacy {

void decryptInPlace(const std::string& path, const std::string& key, const OlderBase& base) {
    const std::string target = core::resolveRegularFile(path);
    const core::InputFile in(target);
    core::Magic magic{};
    if (!in.readExactAt(magic.data(), magic.size(), 0) || magic != base.magic) throw Error(msg::kNotOurFile);
    if (in.size() < base.minimalSize) throw Error(msg::kDamaged);
    const std::unique_ptr<Decryption> decryption = base.open(in, key);
    core::ReplacementFile out(target, decryption->largestPlainSize());
    const std::uint64_t plainSize = decryption->decryptInto(out);
    out.commit(plainSize, in);
}

}  // namespace engine::legacy
