#include "encrypted/encryption_info.h"

#include <nettle/base64.h>

#include <cstring>
#include <map>

namespace {

constexpr uint32_t kAes128 = 0x660E;
constexpr uint32_t kAes192 = 0x660F;
constexpr uint32_t kAes256 = 0x6610;
constexpr size_t kStandardSalt = 16;
constexpr size_t kAesBlock = 16;
// The largest spin count an agile encryption may name.
constexpr uint32_t kMaxSpinCount = 10000000;

uint32_t le32(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Standard encryption: a binary header naming the cipher and key length,
// then the verifier.
EncryptionInfoResult read_standard(std::string_view bytes, PackageEncryption &out) {
    if (bytes.size() < 12) return ENCRYPTION_DAMAGED;
    const uint32_t header_size = le32(bytes, 8);
    if (header_size < 32 || header_size > bytes.size() - 12) return ENCRYPTION_DAMAGED;
    const std::string_view header = bytes.substr(12, header_size);
    const uint32_t algorithm = le32(header, 8);
    const uint32_t key_bits = le32(header, 16);
    // A package enciphered with RC4 is not read.
    if (algorithm != kAes128 && algorithm != kAes192 && algorithm != kAes256)
        return ENCRYPTION_UNSUPPORTED;
    if (key_bits != 128 && key_bits != 192 && key_bits != 256) return ENCRYPTION_DAMAGED;
    const std::string_view verifier = bytes.substr(12 + header_size);
    // Salt size, salt, verifier, verifier hash size, verifier hash; the
    // salt 16 bytes.
    if (verifier.size() < 4 + kStandardSalt + 16 + 4 + 32) return ENCRYPTION_DAMAGED;
    if (le32(verifier, 0) != kStandardSalt) return ENCRYPTION_DAMAGED;
    out.agile = false;
    out.key_hash = office_sha1();
    out.salt = std::string(verifier.substr(4, kStandardSalt));
    out.spin_count = 50000;
    out.key_bytes = key_bits / 8;
    out.encrypted_verifier = std::string(verifier.substr(20, 16));
    out.encrypted_verifier_hash = std::string(verifier.substr(40, 32));
    return ENCRYPTION_READ;
}

// The attributes of the first element whose local name is `name` and that
// has the attribute `required`; empty when there is none.
std::map<std::string, std::string> element_attributes(std::string_view xml, std::string_view name,
                                                      std::string_view required) {
    for (size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at + 1)) {
        size_t end = at + 1;
        while (end < xml.size() && !std::strchr(" \t\r\n/>", xml[end])) ++end;
        std::string_view tag = xml.substr(at + 1, end - at - 1);
        if (const size_t colon = tag.find(':'); colon != std::string_view::npos) tag.remove_prefix(colon + 1);
        if (tag != name) continue;
        std::map<std::string, std::string> attributes;
        size_t i = end;
        for (;;) {
            while (i < xml.size() && std::strchr(" \t\r\n", xml[i])) ++i;
            const size_t equals = xml.find('=', i);
            if (i >= xml.size() || xml[i] == '>' || xml[i] == '/' || equals == std::string_view::npos ||
                equals + 1 >= xml.size())
                break;
            const char quote = xml[equals + 1];
            const size_t close = xml.find(quote, equals + 2);
            if ((quote != '"' && quote != '\'') || close == std::string_view::npos) break;
            attributes[std::string(xml.substr(i, equals - i))] = std::string(xml.substr(equals + 2, close - equals - 2));
            i = close + 1;
        }
        if (attributes.count(std::string(required))) return attributes;
    }
    return {};
}

// An attribute's value; empty when it is absent.
std::string attribute(const std::map<std::string, std::string> &attributes, const char *name) {
    const auto found = attributes.find(name);
    return found == attributes.end() ? std::string() : found->second;
}

bool base64_bytes(const std::string &text, std::string &out) {
    base64_decode_ctx context;
    base64_decode_init(&context);
    out.assign(BASE64_DECODE_LENGTH(text.size()), '\0');
    size_t length = out.size();
    if (!base64_decode_update(&context, &length, reinterpret_cast<uint8_t *>(out.data()), text.size(), text.c_str()) ||
        !base64_decode_final(&context))
        return false;
    out.resize(length);
    return true;
}

// A whole number attribute within [low, high]; false when absent or outside.
bool number_in(const std::map<std::string, std::string> &attributes, const char *name, unsigned long low,
               unsigned long high, unsigned long &value) {
    const auto found = attributes.find(name);
    if (found == attributes.end() || found->second.empty() || found->second.size() > 9 ||
        found->second.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoul(found->second);
    return value >= low && value <= high;
}

// Cipher AES in chained blocks, a known hash, an AES key length; the key
// length in bytes and the hash.
bool cipher_fields(const std::map<std::string, std::string> &attributes, size_t &key_bytes, OfficeHash &hash) {
    unsigned long key_bits = 0, block = 0;
    hash = office_hash_named(attribute(attributes, "hashAlgorithm"));
    if (attribute(attributes, "cipherAlgorithm") != "AES" ||
        attribute(attributes, "cipherChaining") != "ChainingModeCBC" || !hash)
        return false;
    if (!number_in(attributes, "keyBits", 128, 256, key_bits) || key_bits % 64 != 0) return false;
    if (!number_in(attributes, "blockSize", kAesBlock, kAesBlock, block)) return false;
    key_bytes = key_bits / 8;
    return true;
}

EncryptionInfoResult read_agile(std::string_view bytes, PackageEncryption &out) {
    const std::string_view xml = bytes.substr(8);
    const auto key_data = element_attributes(xml, "keyData", "saltValue");
    const auto password = element_attributes(xml, "encryptedKey", "encryptedVerifierHashInput");
    if (key_data.empty()) return ENCRYPTION_DAMAGED;
    // A package only a certificate opens has no password's key.
    if (password.empty()) return ENCRYPTION_UNSUPPORTED;
    unsigned long spin_count = 0;
    if (!cipher_fields(key_data, out.data_key_bytes, out.data_hash) ||
        !cipher_fields(password, out.key_bytes, out.key_hash))
        return ENCRYPTION_UNSUPPORTED;
    if (!number_in(password, "spinCount", 0, kMaxSpinCount, spin_count)) return ENCRYPTION_DAMAGED;
    // An absent value reads as empty and is found too short below.
    if (!base64_bytes(attribute(key_data, "saltValue"), out.data_salt) ||
        !base64_bytes(attribute(password, "saltValue"), out.salt) ||
        !base64_bytes(attribute(password, "encryptedVerifierHashInput"), out.encrypted_verifier) ||
        !base64_bytes(attribute(password, "encryptedVerifierHashValue"), out.encrypted_verifier_hash) ||
        !base64_bytes(attribute(password, "encryptedKeyValue"), out.encrypted_key))
        return ENCRYPTION_DAMAGED;
    if (out.salt.size() < kAesBlock || out.data_salt.empty() || out.encrypted_verifier.size() < kAesBlock ||
        out.encrypted_verifier_hash.size() < office_digest_size(out.key_hash) ||
        out.encrypted_key.size() < out.data_key_bytes)
        return ENCRYPTION_DAMAGED;
    out.agile = true;
    out.spin_count = static_cast<uint32_t>(spin_count);
    return ENCRYPTION_READ;
}

}  // namespace

EncryptionInfoResult read_encryption_info(std::string_view bytes, PackageEncryption &out) {
    if (bytes.size() < 8) return ENCRYPTION_DAMAGED;
    const unsigned major = static_cast<unsigned char>(bytes[0]) | static_cast<unsigned char>(bytes[1]) << 8;
    const unsigned minor = static_cast<unsigned char>(bytes[2]) | static_cast<unsigned char>(bytes[3]) << 8;
    if (major == 4 && minor == 4) return read_agile(bytes, out);
    if (major >= 2 && major <= 4 && minor == 2) return read_standard(bytes, out);
    // Extensible encryption (a cipher provider of its own) is not read.
    if (major >= 3 && major <= 4 && minor == 3) return ENCRYPTION_UNSUPPORTED;
    return ENCRYPTION_DAMAGED;
}
