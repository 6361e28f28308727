// The folder package: header, index and stream, read by desifrdir into a folder of its own.
// The first input byte chooses what the rest is: even, the package file itself; odd, the plaintext of a
// package (index and contents) sealed under the fuzz key, so that the index parser is reached behind the
// authentication. The package folder lies three levels down a scratch tree, so that a name climbing out of
// it ("../x", "../../x") lands where the target sees it: nothing may appear outside the package folder.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/VQ202.h"
#include "engine/core/Magic.h"
#include "tests/engine/FolderFakes.h"
#include "tests/engine/Sealed.h"
#include "tests/fuzz/CheapKdf.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool sealPlaintext = data[0] & 1;
    ++data, --size;
    if (!sealPlaintext && !fuzz::asksCheapScrypt(data, size)) return -1;
    fuzz::useCheapKdf();

    const std::string root = fuzz::scratch() + "/package";
    const std::string folder = root + "/a/b/folder";
    fuzz::resetFolder(root);
    fuzz::resetFolder(folder);
    const std::string package = folder + "/directory.cff";
    fuzz::Bytes file(data, data + size);
    if (sealPlaintext) file = testutil::sealedWith(engine::core::kMagicPackageV1, file, fuzz::kKey);
    fuzz::writeBytes(package, file.data(), file.size());

    testutil::FolderCall call;
    testutil::FakeFileList files(folder, {});
    VQ202::desifrdir(package, call.hashEdit, files, call.errorMsg, call.pb1, call.pb2, call.pbf, call.soubor,
                     call.status, call.window, fuzz::kKey);

    for (const auto& path : fuzz::listTree(root))
        fuzz::require(path == "a" || path == "a/b" || path.starts_with("a/b/folder"),
                      "desifrdir wrote outside the package's folder");
    if (!call.errorMsg.text().empty()) {
        fuzz::requireUntouched(package, file.data(), file.size());
        fuzz::require(fuzz::listTree(folder) == std::vector<std::string>{"directory.cff"},
                      "a refused package left files in the folder");
    }
    return 0;
}
