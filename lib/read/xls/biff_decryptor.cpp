#include "xls/biff_decryptor.h"

#include "encrypted/office_hash.h"
#include "encrypted/xor_obfuscation.h"

#include <algorithm>

namespace {

constexpr uint64_t kBlock = 1024;
constexpr uint16_t kXor = 0;
constexpr uint16_t kRc4 = 1;
constexpr size_t kSalt = 16;
constexpr uint32_t kCryptoApiRc4 = 0x6801;

// Records that stay in clear in an encrypted stream.
constexpr uint16_t kClearRecords[] = {biff::BOF, biff::FILEPASS, 0x0194 /* UsrExcl */, 0x0195 /* FileLock */,
                                      0x00E1 /* InterfaceHdr */, 0x0196 /* RRDInfo */, 0x0138 /* RRDHead */};
// A sheet's stream position at the head of its BOUNDSHEET record stays in clear.
constexpr uint16_t kClearSheetPosition = 4;

uint32_t le32(const unsigned char *p) { return biff::u32(p); }

std::string bytes(const unsigned char *p, size_t count) { return std::string(reinterpret_cast<const char *>(p), count); }

}  // namespace

BiffDecryptor::Result BiffDecryptor::open(const biff::Record &filepass, const std::vector<std::string> &passwords) {
    const unsigned char *p = filepass.data;
    const size_t length = filepass.length;
    // Encryption type, then XOR's key and verifier or the RC4 header's
    // version.
    if (length < 2) return DAMAGED;
    if (biff::u16(p) == kXor) {
        if (length < 6) return DAMAGED;
        xor_key_ = biff::u16(p + 2);
        xor_verifier_ = biff::u16(p + 4);
        for (const std::string &password : passwords) {
            if (try_xor_password(password)) {
                xor_ = active_ = true;
                return OPENED;
            }
        }
        return NO_PASSWORD;
    }
    if (length < 6) return DAMAGED;
    if (biff::u16(p) != kRc4) return NO_PASSWORD;
    const uint16_t major = biff::u16(p + 2), minor = biff::u16(p + 4);
    if (major == 1 && minor == 1) {
        // Salt, verifier and verifier hash, 16 bytes each.
        if (length < 6 + 3 * kSalt) return DAMAGED;
        salt_ = bytes(p + 6, kSalt);
        verifier_ = bytes(p + 22, 16);
        verifier_hash_ = bytes(p + 38, 16);
        cryptoapi_ = false;
    } else if (major >= 2 && major <= 4 && minor == 2) {
        // Flags, header size, header (the key length at 16), then salt
        // size, salt, verifier, hash size and hash.
        if (length < 14) return DAMAGED;
        const uint32_t header_size = le32(p + 10);
        if (header_size < 32 || header_size > length - 14) return DAMAGED;
        const unsigned char *header = p + 14;
        if (le32(header + 8) != kCryptoApiRc4) return NO_PASSWORD;
        const uint32_t key_bits = le32(header + 16);
        key_bytes_ = key_bits == 0 ? 5 : key_bits / 8;
        if (key_bytes_ < 5 || key_bytes_ > 16) return DAMAGED;
        const unsigned char *verifier = header + header_size;
        const size_t rest = length - 14 - header_size;
        if (rest < 4 + kSalt + 16 + 4 + 20 || le32(verifier) != kSalt || le32(verifier + 36) != 20) return DAMAGED;
        salt_ = bytes(verifier + 4, kSalt);
        verifier_ = bytes(verifier + 20, 16);
        verifier_hash_ = bytes(verifier + 40, 20);
        cryptoapi_ = true;
    } else {
        return DAMAGED;
    }
    for (const std::string &password : passwords) {
        if (try_password(password)) {
            active_ = true;
            return OPENED;
        }
    }
    return NO_PASSWORD;
}

// Excel 97: the password's MD5 cut to 5 bytes, laid 16 times beside the
// salt and hashed, cut to 5 bytes again; each block's key is the MD5 of
// that and the block number.  CryptoAPI: the SHA-1 of salt and password;
// each block's key is the SHA-1 of that and the block number, cut to the
// key length.
bool BiffDecryptor::try_password(const std::string &password) {
    if (cryptoapi_) {
        base_ = office_digest(office_sha1(), {salt_, password});
    } else {
        const std::string first = office_digest(office_md5(), {password}).substr(0, 5);
        std::string laid;
        for (int i = 0; i < 16; ++i) laid += first + salt_;
        base_ = office_digest(office_md5(), {laid}).substr(0, 5);
    }
    const std::string key = block_key(0);
    arcfour_set_key(&rc4_, key.size(), reinterpret_cast<const uint8_t *>(key.data()));
    std::string verifier = verifier_, hash = verifier_hash_;
    arcfour_crypt(&rc4_, verifier.size(), reinterpret_cast<uint8_t *>(verifier.data()),
                  reinterpret_cast<const uint8_t *>(verifier.data()));
    arcfour_crypt(&rc4_, hash.size(), reinterpret_cast<uint8_t *>(hash.data()), reinterpret_cast<const uint8_t *>(hash.data()));
    const std::string expected = office_digest(cryptoapi_ ? office_sha1() : office_md5(), {verifier});
    keyed_block_ = UINT64_MAX;
    return expected == hash;
}

bool BiffDecryptor::try_xor_password(const std::string &password) {
    const std::string narrow = xor_password(password);
    if (narrow.empty() || xor_key(narrow) != xor_key_ || xor_verifier(narrow) != xor_verifier_) return false;
    xor_array(narrow, xor_array_);
    return true;
}

std::string BiffDecryptor::block_key(uint32_t block) const {
    if (!cryptoapi_) return office_digest(office_md5(), {base_, le32_bytes(block)});
    std::string key = office_digest(office_sha1(), {base_, le32_bytes(block)}).substr(0, key_bytes_);
    // A 40-bit key is used as 128 bits, filled up with zero bytes.
    if (key.size() == 5) key.resize(16, '\0');
    return key;
}

void BiffDecryptor::seek(uint64_t position) {
    const uint64_t block = position / kBlock;
    if (block != keyed_block_ || position < position_) {
        const std::string key = block_key(static_cast<uint32_t>(block));
        arcfour_set_key(&rc4_, key.size(), reinterpret_cast<const uint8_t *>(key.data()));
        keyed_block_ = block;
        position_ = block * kBlock;
    }
    uint8_t skipped[64];
    while (position_ < position) {
        const size_t count = static_cast<size_t>(std::min<uint64_t>(sizeof skipped, position - position_));
        arcfour_crypt(&rc4_, count, skipped, skipped);
        position_ += count;
    }
}

void BiffDecryptor::decipher(biff::Record &record) {
    if (std::find(std::begin(kClearRecords), std::end(kClearRecords), record.number) != std::end(kClearRecords)) return;
    data_.assign(record.data, record.data + record.length);
    size_t done = record.number == biff::BOUNDSHEET ? std::min<size_t>(kClearSheetPosition, data_.size()) : 0;
    if (xor_) {
        // The array's index runs on from the record's end in the stream.
        const uint64_t end = record.offset + 4 + record.length;
        for (; done < data_.size(); ++done) data_[done] = xor_unturn(data_[done], xor_array_[(end + done) % 16]);
        record.data = data_.data();
        return;
    }
    uint64_t position = record.offset + 4 + done;
    while (done < data_.size()) {
        seek(position);
        const size_t count = static_cast<size_t>(std::min<uint64_t>(data_.size() - done, kBlock - position % kBlock));
        arcfour_crypt(&rc4_, count, data_.data() + done, data_.data() + done);
        done += count;
        position += count;
        position_ = position;
    }
    record.data = data_.data();
}
