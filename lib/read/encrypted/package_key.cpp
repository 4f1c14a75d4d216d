#include "encrypted/package_key.h"

#include "encrypted/aes_decipher.h"

#include <cstdint>

namespace {

// The block keys an agile encryption derives its three keys with.
constexpr std::string_view kVerifierInputBlock("\xfe\xa7\xd2\x76\x3b\x4b\x9e\x79", 8);
constexpr std::string_view kVerifierHashBlock("\xd7\xaa\x0f\x6d\x30\x61\x34\x4e", 8);
constexpr std::string_view kKeyValueBlock("\x14\x6e\x0b\xe7\xab\xac\xd0\xd6", 8);

// The salted password hashed, then hashed again with each round's number
// in front, spin-count times.
std::string spun_hash(const PackageEncryption &encryption, std::string_view password) {
    std::string hash = office_digest(encryption.key_hash, {encryption.salt, password});
    for (uint32_t round = 0; round < encryption.spin_count; ++round)
        hash = office_digest(encryption.key_hash, {le32_bytes(round), hash});
    return hash;
}

// `bytes` cut to `length`, or filled up to it with 0x36.
std::string fitted(std::string bytes, size_t length) {
    bytes.resize(length, '\x36');
    return bytes;
}

std::string deciphered_blocks(std::string_view key, std::string bytes) {
    AesDecipher aes;
    if (!aes.set_key(key)) return {};
    aes.decipher_blocks(reinterpret_cast<uint8_t *>(bytes.data()), bytes.size());
    return bytes;
}

std::string deciphered_chain(std::string_view key, std::string_view iv, std::string bytes) {
    AesDecipher aes;
    if (!aes.set_key(key)) return {};
    aes.decipher_chained(reinterpret_cast<const uint8_t *>(iv.data()), reinterpret_cast<uint8_t *>(bytes.data()),
                         bytes.size());
    return bytes;
}

// Standard encryption: the spun hash with block number 0, stretched
// through the two pads of a keyed hash, cut to the key length.
bool standard_key(const PackageEncryption &encryption, std::string_view password, std::string &key) {
    const std::string last = office_digest(encryption.key_hash, {spun_hash(encryption, password), le32_bytes(0)});
    std::string inner(64, '\x36'), outer(64, '\x5c');
    for (size_t i = 0; i < last.size(); ++i) {
        inner[i] = static_cast<char>(inner[i] ^ last[i]);
        outer[i] = static_cast<char>(outer[i] ^ last[i]);
    }
    const std::string stretched = office_digest(encryption.key_hash, {inner}) + office_digest(encryption.key_hash, {outer});
    const std::string candidate = stretched.substr(0, encryption.key_bytes);
    const std::string verifier = deciphered_blocks(candidate, encryption.encrypted_verifier);
    const std::string hash = deciphered_blocks(candidate, encryption.encrypted_verifier_hash);
    if (verifier.empty() || office_digest(office_sha1(), {verifier}) != hash.substr(0, office_digest_size(office_sha1())))
        return false;
    key = candidate;
    return true;
}

// Agile encryption: one key per block key from the spun hash; the first
// two check the password, the third deciphers the package's own key.
bool agile_key(const PackageEncryption &encryption, std::string_view password, std::string &key) {
    const std::string spun = spun_hash(encryption, password);
    auto key_for = [&](std::string_view block) {
        return fitted(office_digest(encryption.key_hash, {spun, block}), encryption.key_bytes);
    };
    const std::string_view iv = std::string_view(encryption.salt).substr(0, AesDecipher::BLOCK);
    const std::string input = deciphered_chain(key_for(kVerifierInputBlock), iv, encryption.encrypted_verifier);
    const std::string value = deciphered_chain(key_for(kVerifierHashBlock), iv, encryption.encrypted_verifier_hash);
    const size_t hash_size = office_digest_size(encryption.key_hash);
    if (input.empty() || value.size() < hash_size ||
        office_digest(encryption.key_hash, {std::string_view(input).substr(0, encryption.salt.size())}) !=
            value.substr(0, hash_size))
        return false;
    const std::string package_key = deciphered_chain(key_for(kKeyValueBlock), iv, encryption.encrypted_key);
    if (package_key.size() < encryption.data_key_bytes) return false;
    key = package_key.substr(0, encryption.data_key_bytes);
    return true;
}

}  // namespace

bool package_key(const PackageEncryption &encryption, std::string_view password, std::string &key) {
    return encryption.agile ? agile_key(encryption, password, key) : standard_key(encryption, password, key);
}
