// The book-wide settings record of a book being written.
#include "book_properties.h"

#include <new>

BookProperties *ozw_book_properties(XLS_BOOK *book) {
    if (!book->extension) book->extension = new (std::nothrow) BookProperties;
    return static_cast<BookProperties *>(book->extension);
}

const BookProperties *ozw_find_book_properties(const XLS_BOOK *book) {
    return static_cast<const BookProperties *>(book->extension);
}

void ozw_free_book_properties(XLS_BOOK *book) {
    delete static_cast<BookProperties *>(book->extension);
    book->extension = nullptr;
}
