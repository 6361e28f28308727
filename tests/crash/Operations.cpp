// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/crash/Operations.h"

#include <functional>
#include <map>
#include <stdexcept>

#include "tests/crash/FolderOperation.h"
#include "tests/crash/OneWayOperation.h"
#include "tests/crash/SingleFileOperation.h"
#include "tests/crash/Steps.h"

namespace crash {
namespace {

using Factory = std::function<std::unique_ptr<Operation>()>;

const std::map<std::string, Factory>& factories() {
    static const std::map<std::string, Factory> all{
        {"sifrovat", [] { return singleFileOperation("sifrovat", Direction::Encrypting, sifrovatStep(), desifrovatStep()); }},
        {"fastsifrovat",
         [] { return singleFileOperation("fastsifrovat", Direction::Encrypting, fastsifrovatStep(), fastdesifrovatStep()); }},
        {"desifrovat", [] { return singleFileOperation("desifrovat", Direction::Decrypting, desifrovatStep(), sifrovatStep()); }},
        {"fastdesifrovat",
         [] { return singleFileOperation("fastdesifrovat", Direction::Decrypting, fastdesifrovatStep(), fastsifrovatStep()); }},
        {"sifrovat0", [] { return oneWayOperation(); }},
        {"sifrdir", [] { return folderOperation(FolderWork::Pack); }},
        {"desifrdir", [] { return folderOperation(FolderWork::Restore); }},
        {"sifrdirTree", [] { return folderOperation(FolderWork::Pack, true); }},
        {"desifrdirTree", [] { return folderOperation(FolderWork::Restore, true); }},
        {"KeyedEncryption", [] {
             return singleFileOperation("key encryption: hash, priznak_pridat, sifrovat", Direction::Encrypting,
                                        keyedEncryptionStep(false), keyedDecryptionStep(false));
         }},
        {"KeyedFastEncryption", [] {
             return singleFileOperation("key encryption: hash, priznak_pridat, fastsifrovat", Direction::Encrypting,
                                        keyedEncryptionStep(true), keyedDecryptionStep(true));
         }},
        {"KeyedDecryption", [] {
             return singleFileOperation("key decryption: passcheck, desifrovat, priznak_odebrat, hash",
                                        Direction::Decrypting, keyedDecryptionStep(false), keyedEncryptionStep(false));
         }},
        {"KeyedFastDecryption", [] {
             return singleFileOperation("key decryption: passcheck, fastdesifrovat, priznak_odebrat, hash",
                                        Direction::Decrypting, keyedDecryptionStep(true), keyedEncryptionStep(true));
         }},
    };
    return all;
}

}  // namespace

std::vector<std::string> singleFileIds() { return {"sifrovat", "fastsifrovat", "desifrovat", "fastdesifrovat", "sifrovat0"}; }
std::vector<std::string> folderIds() { return {"sifrdir", "desifrdir", "sifrdirTree", "desifrdirTree"}; }
std::vector<std::string> handlerIds() {
    return {"KeyedEncryption", "KeyedFastEncryption", "KeyedDecryption", "KeyedFastDecryption"};
}

std::unique_ptr<Operation> makeOperation(const std::string& id) {
    const auto it = factories().find(id);
    if (it == factories().end()) throw std::invalid_argument("no operation " + id);
    return it->second();
}

}  // namespace crash
