// Temporary: these exports refuse to work until the stream cipher lands in the next commits.
#include "engine/VQ203.h"
#include "engine/core/Messages.h"

namespace VQ203 {

void sifrovat(const std::string&, const std::string&, engine::ProgressBar&, engine::Window&) { throw engine::Error(engine::msg::kCryptoFailure); }
void fastsifrovat(const std::string&, const std::string&, engine::ProgressBar&, engine::Window&) { throw engine::Error(engine::msg::kCryptoFailure); }
void desifrovat(const std::string&, const std::string&, engine::ProgressBar&, engine::Window&) { throw engine::Error(engine::msg::kCryptoFailure); }
void fastdesifrovat(const std::string&, const std::string&, engine::ProgressBar&, engine::Window&) { throw engine::Error(engine::msg::kCryptoFailure); }
void sifrovat0(const std::string&, engine::ProgressBar&, engine::Window&) { throw engine::Error(engine::msg::kCryptoFailure); }
unsigned char passcheck(const std::string&, const std::string&) { return 0; }
void priznak_pridat(const std::string&, const std::string&, engine::ProgressBar&) { throw engine::Error(engine::msg::kCryptoFailure); }
void priznak_odebrat(engine::TextField&, const std::string&, engine::ProgressBar&) { throw engine::Error(engine::msg::kCryptoFailure); }

}  // namespace VQ203
