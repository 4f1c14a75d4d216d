// Helpers the fuzz targets share: handing the input to the library as a
// memory file or a scratch disk file, a book record that is always
// released, and reading every cell of a loaded book the way the search
// application does.
#pragma once

#include "../tests/support/each_cell_text.h"
#include "book_record.h"
#include "mfile.h"
#include "oxls.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace fuzz {

// Makes (or empties) the memory file `name` and fills it with the input.
inline void put_memory_file(const char *name, const uint8_t *data, size_t size) {
    MFILE *file = mopen(name, "wb");
    if (!file) return;
    if (size > 0) mwrite(data, 1, size, file);
    mclose(file);
}

// Writes the input to a scratch file of this process and returns its path.
// The same path is reused by every run of the target.
inline std::string put_scratch_file(const char *suffix, const uint8_t *data, size_t size) {
    const char *folder = std::getenv("TMPDIR");
    std::string path = std::string(folder && *folder ? folder : "/tmp") + "/zs-fuzz-" +
                       std::to_string(static_cast<long>(getpid())) + suffix;
    if (std::FILE *file = std::fopen(path.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}

// A book record set up for one kind of book and released when it goes out
// of scope, together with every memory file the run made.  The record is
// large (about 100 KB), so it lives on the heap.
class ScopedBook {
public:
    explicit ScopedBook(int kind) : book_(new XLS_BOOK{}) {
        book_->thread_no = -1;
        ready_ = ozw_init_book(book_.get(), kind) == 0;
    }
    ~ScopedBook() {
        if (ready_) ozw_release_book(book_.get());
        mfree_all();
    }
    ScopedBook(const ScopedBook &) = delete;
    ScopedBook &operator=(const ScopedBook &) = delete;

    bool ready() const { return ready_; }
    XLS_BOOK *get() { return book_.get(); }

    // The flags of MODE=UNLOAD: no built-in styles, texts as displayed.
    void unload_mode() {
        book_->flags[OXLS_FLAG_KEEP_STYLES] = 0;
        book_->flags[OXLS_FLAG_FORMATTED_TEXT] = 0;
    }

private:
    std::unique_ptr<XLS_BOOK> book_;
    bool ready_ = false;
};

// Reads the display text of every recorded cell of every sheet, as the
// search application does.  Large real books in the seeds stop after this
// many cells, so that one run stays short under the sanitizers; hostile
// inputs are far smaller.
constexpr int kMostCellsRead = 20000;

inline void read_every_cell(XLS_BOOK *book) {
    each_cell_text(book, [](int, int, int, const char *, const char *) {}, kMostCellsRead);
}

}  // namespace fuzz
