// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/legacy/LegacyWriters.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "engine/core/Magic.h"
#include "engine/legacy/BigEndian.h"
#include "engine/legacy/Kdf.h"

namespace legacytest {
namespace {

using engine::legacy::writeBigEndian;

void check(int rc) {
    if (rc != 1) throw std::runtime_error("OpenSSL failed in a fixture writer");
}

Bytes random(std::size_t size) {
    Bytes out(size);
    check(RAND_bytes(out.data(), static_cast<int>(size)));
    return out;
}

void append(Bytes& out, const unsigned char* data, std::size_t size) { out.insert(out.end(), data, data + size); }
void append(Bytes& out, const Bytes& data) { append(out, data.data(), data.size()); }
template <typename T>
void appendBigEndian(Bytes& out, T value) {
    unsigned char bytes[sizeof(T)];
    writeBigEndian(value, bytes);
    append(out, bytes, sizeof(T));
}

// Cipher key | MAC key (if any) | 16-byte key check, split from the master as the readers do.
Bytes splitKeys(const Bytes& master, const char* label, std::size_t length) {
    engine::legacy::Secret secret(master.size());
    std::copy(master.begin(), master.end(), secret.data());
    const auto keys = engine::legacy::expandKeys(secret, label, length);
    return Bytes(keys.data(), keys.data() + keys.size());
}

Bytes pbkdf2Master(const std::string& key, const Bytes& salt, const WriteOptions& options, const EVP_MD* digest) {
    Bytes master(32);
    if (options.deriveKeys)
        check(PKCS5_PBKDF2_HMAC(key.data(), static_cast<int>(key.size()), salt.data(), static_cast<int>(salt.size()),
                                static_cast<int>(options.iterations), digest, 32, master.data()));
    return master;
}

Bytes encryptWhole(const EVP_CIPHER* cipher, const unsigned char* key, const unsigned char* iv, const Bytes& plain) {
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    Bytes out(plain.size() + 32);
    int produced = 0;
    int tail = 0;
    check(EVP_EncryptInit_ex(ctx, cipher, nullptr, key, iv));
    check(EVP_EncryptUpdate(ctx, out.data(), &produced, plain.data(), static_cast<int>(plain.size())));
    check(EVP_EncryptFinal_ex(ctx, out.data() + produced, &tail));
    EVP_CIPHER_CTX_free(ctx);
    out.resize(static_cast<std::size_t>(produced + tail));
    return out;
}

Bytes hmacSha256(const unsigned char* key, const Bytes& data) {
    Bytes tag(32);
    std::size_t length = 0;
    if (!EVP_Q_mac(nullptr, "HMAC", nullptr, "SHA2-256", nullptr, key, 32, data.data(), data.size(), tag.data(),
                   tag.size(), &length))
        throw std::runtime_error("HMAC failed in a fixture writer");
    return tag;
}

// Key check, cipher text and the HMAC over everything before it; keys as splitKeys gives them (80 bytes).
void sealEncryptThenMac(Bytes& out, const EVP_CIPHER* cipher, const Bytes& keys, const Bytes& iv, const Bytes& plain) {
    append(out, keys.data() + 64, 16);
    append(out, encryptWhole(cipher, keys.data(), iv.data(), plain));
    append(out, hmacSha256(keys.data() + 32, out));
}

// Seals `plain` in chunks of `chunkSize`, the last one shorter (possibly empty); nonce and AAD per chunk.
template <typename Frame>
void appendChunks(Bytes& out, const EVP_CIPHER* cipher, const unsigned char* key, const Bytes& plain,
                  std::size_t chunkSize, Frame frame) {
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    check(EVP_EncryptInit_ex(ctx, cipher, nullptr, nullptr, nullptr));
    const std::size_t count = plain.size() / chunkSize + 1;
    for (std::size_t index = 0; index < count; ++index) {
        const bool last = index + 1 == count;
        const std::size_t begin = index * chunkSize;
        const std::size_t size = last ? plain.size() - begin : chunkSize;
        unsigned char nonce[12];
        Bytes aad;
        frame(index, last, nonce, aad);
        Bytes sealed(size + 16);
        int produced = 0;
        check(EVP_EncryptInit_ex(ctx, nullptr, nullptr, key, nonce));
        check(EVP_EncryptUpdate(ctx, nullptr, &produced, aad.data(), static_cast<int>(aad.size())));
        check(EVP_EncryptUpdate(ctx, sealed.data(), &produced, plain.data() + begin, static_cast<int>(size)));
        check(EVP_EncryptFinal_ex(ctx, sealed.data() + produced, &produced));
        check(EVP_CIPHER_CTX_ctrl(ctx, EVP_CTRL_AEAD_GET_TAG, 16, sealed.data() + size));
        append(out, sealed);
    }
    EVP_CIPHER_CTX_free(ctx);
}

}  // namespace

Bytes write104(const Bytes& plain, const std::string& key, const WriteOptions& options) {
    const Bytes salt = random(16);
    const Bytes iv = random(16);
    const Bytes keys = splitKeys(pbkdf2Master(key, salt, options, EVP_sha256()), "MVX104 keys", 80);
    Bytes out(engine::core::kMagicBase104.begin(), engine::core::kMagicBase104.end());
    appendBigEndian(out, options.iterations);
    append(out, salt);
    append(out, iv);
    sealEncryptThenMac(out, EVP_aes_256_cbc(), keys, iv, plain);
    return out;
}

Bytes write105(const Bytes& plain, const std::string& key, const WriteOptions& options) {
    const Bytes salt = random(16);
    const Bytes counter = random(16);
    const Bytes keys = splitKeys(pbkdf2Master(key, salt, options, EVP_sha256()), "MVX105 keys", 80);
    Bytes out(engine::core::kMagicBase105.begin(), engine::core::kMagicBase105.end());
    append(out, salt);
    appendBigEndian(out, options.iterations);
    appendBigEndian(out, std::uint64_t{plain.size()});
    append(out, counter);
    sealEncryptThenMac(out, EVP_aes_256_ctr(), keys, counter, plain);
    return out;
}

Bytes write106(const Bytes& plain, const std::string& key, const WriteOptions& options) {
    const Bytes salt = random(16);
    const Bytes prefix = random(8);
    const Bytes keys = splitKeys(pbkdf2Master(key, salt, options, EVP_sha512()), "MVX106 keys", 48);
    Bytes out(engine::core::kMagicBase106.begin(), engine::core::kMagicBase106.end());
    appendBigEndian(out, options.iterations);
    append(out, salt);
    appendBigEndian(out, options.chunkSize);
    append(out, prefix);
    append(out, keys.data() + 32, 16);
    const Bytes header = out;
    appendChunks(out, EVP_chacha20_poly1305(), keys.data(), plain, options.chunkSize,
                 [&](std::size_t index, bool last, unsigned char* nonce, Bytes& aad) {
                     std::memcpy(nonce, prefix.data(), 8);
                     writeBigEndian(static_cast<std::uint32_t>(index), nonce + 8);
                     aad = header;
                     aad.push_back(last ? 1 : 0);
                 });
    return out;
}

Bytes write2010(const Bytes& plain, const std::string& key, const WriteOptions& options) {
    const Bytes salt = random(32);
    const Bytes prefix = random(7);
    Bytes master(32);
    if (options.deriveKeys)
        check(EVP_PBE_scrypt(key.data(), key.size(), salt.data(), salt.size(), std::uint64_t{1} << options.scryptLog2N,
                             options.scryptR, options.scryptP, 0, master.data(), master.size()));
    const Bytes keys = splitKeys(master, "MVX2010 keys", 48);
    Bytes out(engine::core::kMagicBase2010.begin(), engine::core::kMagicBase2010.end());
    for (unsigned field : {options.scryptLog2N, options.scryptR, options.scryptP, options.log2ChunkSize})
        out.push_back(static_cast<unsigned char>(field));
    append(out, salt);
    appendBigEndian(out, std::uint64_t{plain.size()});
    append(out, prefix);
    out.push_back(0);
    append(out, keys.data() + 32, 16);
    const Bytes header = out;
    appendChunks(out, EVP_aes_256_gcm(), keys.data(), plain, std::size_t{1} << options.log2ChunkSize,
                 [&](std::size_t index, bool last, unsigned char* nonce, Bytes& aad) {
                     std::memcpy(nonce, prefix.data(), 7);
                     writeBigEndian(static_cast<std::uint32_t>(index), nonce + 7);
                     nonce[11] = last ? 1 : 0;
                     aad = header;
                 });
    return out;
}

}  // namespace legacytest
