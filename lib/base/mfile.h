// Memory files: named in-memory byte buffers that behave like files.
// Package parts, compound-file streams and the parts of a book being
// written travel between stages through them, by name.
//
// They live in tables.  Every open book has a table of its own in its work
// area, so that books read on different threads share nothing.  The
// caller's table is the one table of the process: it holds what a caller
// hands to the library by name (a book held in memory, an extracted
// workbook stream) and is what the plain m* functions below act on; its
// structure is guarded by a lock.  A book's table looks a name it does not
// hold up in the caller's table before it loads the disk file of that name.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

constexpr int MFILE_MAX_OPEN_FILES = 100000;
constexpr int MFILE_NAME_LEN = 256;

enum MfileStatus { MFILE_OPEN = 0, MFILE_CLOSED = 1, MFILE_DELETED = 9, MFILE_GROWTH_FAILED = -9 };

class MfileTable;

struct MFILE {
    char name[260];          // empty for a deleted slot
    int status;              // MfileStatus
    int slot;                // index in the table
    unsigned char *data;     // the buffer
    long long increment;     // bytes added at the next growth
    long long capacity;      // size of the buffer
    int factor;              // multiplier of the increment at each growth (2)
    long long length;        // bytes of data
    long long position;      // read/write position
    int date[6];             // year, month, day, hour, minute, second (set by zip extraction)
    MfileTable *table;       // the table the file belongs to (its error text)
};

class MfileTable {
public:
    // `fallback`: a table to look names up in when reading a name this
    // table does not hold.
    explicit MfileTable(MfileTable *fallback = nullptr) : fallback_(fallback) {}
    ~MfileTable();
    MfileTable(const MfileTable &) = delete;
    MfileTable &operator=(const MfileTable &) = delete;

    MFILE *open(const char *name, const char *mode);   // "rb", "wb", "ab"
    // Frees a file's data; the name stays.
    int release(const char *name);
    int remove(const char *name);
    // Deletes the name here and in the fallback table: a file handed over
    // by the caller is used up by the book that read it.
    int remove_everywhere(const char *name);
    // Data length of the name here, else in the fallback table; 0 when none.
    long long length(const char *name);
    int list(std::vector<std::string> &names);   // names of this table's slots not deleted
    int free_all();
    // 0 sets every file aside (one level), 1 brings them back.
    int save_or_restore(int direction);
    const char *error();
    int count();   // slots in use

    // Used by the file operations: sets the table's last error text.
    void set_error(const char *format, ...);

private:
    struct Slots {
        std::vector<MFILE *> slots;
        std::unordered_map<std::string, MFILE *> by_name;   // slots not deleted
    };
    MFILE *find(const char *name);
    MFILE *new_slot(const char *name);
    void drop_last_slot(MFILE *file);
    MFILE *load_from_disk(const char *name);
    // The fallback's file of this name, opened for reading; null when none.
    MFILE *open_from_fallback(const char *name);
    static void free_slots(Slots &slots);
    void note_error(const char *format, ...);   // with the lock held

    std::mutex lock_;
    Slots active_;
    Slots saved_;
    char error_[256] = {};
    MfileTable *fallback_;
};

// The caller's table, shared by the whole process.
MfileTable &orb_caller_files();

// The operations on the caller's table.
MFILE *mopen(const char *name, const char *mode);
int mrelease(const char *name);
int mdelete(const char *name);
long long mlength(const char *name);
int mlist(std::vector<std::string> &names);
int mfree_all();
int mcopy(int direction);                       // 0 save the table aside, 1 restore it
const char *merror();
int mcount();                                   // Mfile_ct: slots in use

// Operations on one open file, of whichever table.
int mclose(MFILE *file);
size_t mread(void *buffer, size_t size, size_t count, MFILE *file);   // bytes copied
size_t mwrite(const void *buffer, size_t size, size_t count, MFILE *file); // items written
int mputc(int byte, MFILE *file);
int mputs(const char *text, MFILE *file);
int mgetc(MFILE *file);
char *mgets(char *buffer, int size, MFILE *file);
int mseek(MFILE *file, long long offset, int origin);  // 0 start, 1 position, 2 end
long long mtell(MFILE *file);
int meof(MFILE *file);
