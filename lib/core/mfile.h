// Memory files: named in-memory byte buffers that behave like files.
// Package parts, compound-file streams and the parts of a book being
// written travel between stages through them, by name.  One process-wide
// table, unlocked: one thread at a time uses it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr int MFILE_MAX_OPEN_FILES = 100000;
constexpr int MFILE_NAME_LEN = 256;

enum MfileStatus { MFILE_OPEN = 0, MFILE_CLOSED = 1, MFILE_DELETED = 9, MFILE_GROWTH_FAILED = -9 };

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
};

MFILE *mopen(const char *name, const char *mode);   // "rb", "wb", "ab"
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
int mrelease(const char *name);
int mdelete(const char *name);
long long mlength(const char *name);
int mlist(std::vector<std::string> &names);   // names of all slots not deleted
int mfree_all();
int mcopy(int direction);                       // 0 save the table aside, 1 restore it
const char *merror();
int mcount();                                   // Mfile_ct: slots in use
