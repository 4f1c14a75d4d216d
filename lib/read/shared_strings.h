// A book's shared strings as a reader collects them: one buffer of all
// their bytes and where each ends, reused from book to book.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class SharedStrings {
public:
    // Appends a string; 0, or -2 when memory runs out.
    int add(std::string_view text);
    size_t size() const { return ends_.size(); }
    std::string_view operator[](size_t index) const {
        const size_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(bytes_).substr(begin, ends_[index] - begin);
    }
    // Empty again, keeping the memory.
    void clear() {
        bytes_.clear();
        ends_.clear();
    }
    // Empty again, giving the memory back when it holds more than `most`
    // bytes.
    void release_above(size_t most) {
        clear();
        if (bytes_.capacity() + ends_.capacity() * sizeof(size_t) <= most) return;
        bytes_ = std::string();
        ends_ = std::vector<size_t>();
    }

private:
    std::string bytes_;
    std::vector<size_t> ends_;
};
