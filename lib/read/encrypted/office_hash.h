// The hashes of Office encryption, through Nettle: one digest of several
// byte strings laid end to end, and the hash an agile encryption names.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

struct nettle_hash;
using OfficeHash = const nettle_hash *;

OfficeHash office_md5();
OfficeHash office_sha1();
// "SHA1", "SHA256", "SHA384" or "SHA512"; null for any other name.
OfficeHash office_hash_named(std::string_view name);
size_t office_digest_size(OfficeHash hash);

// The digest of `parts` one after another.
std::string office_digest(OfficeHash hash, std::initializer_list<std::string_view> parts);

// A 32-bit number as the four little-endian bytes the key derivations hash.
std::string le32_bytes(uint32_t value);
