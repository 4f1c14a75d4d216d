// Bytes written into again and again, a part or a file at a time: the
// buffer only grows, and growing neither copies nor clears what it held,
// so that its memory is first touched by what is written into it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>

class GrowBuffer {
public:
    // Room for `size` bytes at the start; what the buffer held is gone
    // when it had to grow.  It grows at least twofold, so that parts a
    // little longer each time do not each cost fresh memory.  Throws
    // std::bad_alloc.
    char *room(size_t size) {
        if (size > capacity_) {
            const size_t grown = std::max(size, 2 * capacity_);
            data_.reset();
            data_.reset(new char[grown]);
            capacity_ = grown;
        }
        return data_.get();
    }
    const char *data() const { return data_.get(); }
    // Gives the memory back when the buffer holds more than `most` bytes:
    // one large book does not leave its size behind for every later one.
    void release_above(size_t most) {
        if (capacity_ <= most) return;
        data_.reset();
        capacity_ = 0;
    }

private:
    std::unique_ptr<char[]> data_;
    size_t capacity_ = 0;
};
