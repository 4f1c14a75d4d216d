// The bytes a family of texts can hold.  A word can only be found in one of
// the texts when every byte of it is in the set: a search leaves out the
// number cells whose texts cannot hold any of its words without making
// their texts at all.  Bytes rather than characters keep the test sound for
// any word and any text, valid UTF-8 or not; for ASCII they are the same.
#pragma once

#include <bitset>
#include <string_view>

class ByteSet {
public:
    // Adds every byte of `text`.
    void add(std::string_view text) {
        for (char c : text) bytes_.set(static_cast<unsigned char>(c));
    }
    void add_byte(unsigned char byte) { bytes_.set(byte); }
    bool holds(unsigned char byte) const { return bytes_.test(byte); }
    // Whether every byte of `word` is in the set.
    bool holds_all(std::string_view word) const {
        for (char c : word)
            if (!bytes_.test(static_cast<unsigned char>(c))) return false;
        return true;
    }

private:
    std::bitset<256> bytes_;
};
