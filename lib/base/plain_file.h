// Plain files: a thin layer over the platform's file handles with a line
// reader and a line writer, plus copying and reading whole files either on
// disk or as memory files.
#pragma once

#include "platform/platform.h"

#include <string>

struct PlainFile {
    zplat::File *handle;
    int mode;
    // Bytes read ahead for the line reader, handed out before the handle is read again.
    std::string ahead;
    size_t ahead_pos;
};

// The record, or null on failure or an unknown mode (zplat::FILE_READ ...).
PlainFile *orb_file_open(const char *path, int mode);
int orb_file_close(PlainFile *file);                                   // 0
size_t orb_file_read(void *buffer, size_t count, PlainFile *file);     // bytes read, 0 at the end
size_t orb_file_write(const void *buffer, size_t count, PlainFile *file);  // bytes written, 0 on failure
// origin 1 start, 2 end, 3 current: 0, -3 another origin, -104 refused.
int orb_file_seek(PlainFile *file, long long offset, int origin);

// Reads one line into buffer (at most size - 1 bytes, always terminated).
// LF, CR or CR LF end a line and are not stored; a double-quoted run is
// copied as it is, line ends included.  A line longer than the buffer
// continues at the next call.  1 when a line was read, 0 at the end.
int orb_read_line(char *buffer, int size, PlainFile *file);
// Writes the text and CR LF, unless the text already ends in LF or its
// second-to-last byte is CR.  0; -103 when fewer bytes were written.
int orb_write_line(const char *text, PlainFile *file);

// Copies source to destination: plain files when on_disk is nonzero, else
// memory files.  0; -101 a file cannot be opened; -103 a write fell short.
int orb_copy_file(int on_disk, const char *destination, const char *source);
// The whole content of a plain file (on_disk nonzero) or a memory file.
// 0; -101 the file cannot be opened; -2 no memory.
int orb_read_whole_file(int on_disk, const char *path, std::string &content);

// Year, month, day, hour, minute and second of the last write, local time.
// 0, or -101 when there is no such file.
int orb_file_time(const char *path, int date[6]);
// Appends the text and a line end in text mode; nothing when the path or
// the text is empty.  0, or -101 when the file cannot be opened.
int orb_append_line(const char *path, const char *text);
