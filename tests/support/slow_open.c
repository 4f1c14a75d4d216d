/* Preloaded into a program under test (LD_PRELOAD) to make each open of a
 * book slow, as on a share where every open is a round trip to a file
 * server: opening a file whose name ends in .xls, .xlsx or .xlsm first
 * waits ZS_SLOW_OPEN_MS milliseconds (default 5), and, when ZS_OPEN_LOG
 * names a file, writes the book's path as a line to it.  Tests use it to
 * catch a search in the middle of its walk and to count the opens of each
 * book; the benchmark to measure searches of slow shares. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <time.h>
#include <unistd.h>

static int is_book(const char *path) {
    const char *dot = path ? strrchr(path, '.') : NULL;
    return dot && (strcasecmp(dot, ".xls") == 0 || strcasecmp(dot, ".xlsx") == 0 || strcasecmp(dot, ".xlsm") == 0);
}

/* One write per line, so that lines of several threads do not mix. */
static void log_open(const char *path) {
    static int (*real_open)(const char *, int, ...);
    const char *log = getenv("ZS_OPEN_LOG");
    if (!log) return;
    if (!real_open) real_open = (int (*)(const char *, int, ...))dlsym(RTLD_NEXT, "open");
    const int fd = real_open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return;
    char line[4096];
    const size_t length = strlen(path) < sizeof line - 1 ? strlen(path) : sizeof line - 1;
    memcpy(line, path, length);
    line[length] = '\n';
    (void)!write(fd, line, length + 1);
    close(fd);
}

static void wait_for_the_server(const char *path) {
    if (!is_book(path)) return;
    log_open(path);
    const char *setting = getenv("ZS_SLOW_OPEN_MS");
    const long ms = setting ? atol(setting) : 5;
    struct timespec pause = {ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0) {
    }
}

/* The mode argument is there only when the flags create a file. */
static mode_t mode_of(int flags, va_list arguments) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? (mode_t)va_arg(arguments, int) : 0;
}

/* open and open64 take the same arguments. */
#define SLOW_OPEN(name)                                                              \
    int name(const char *path, int flags, ...) {                                     \
        static int (*next)(const char *, int, ...);                                  \
        if (!next) next = (int (*)(const char *, int, ...))dlsym(RTLD_NEXT, #name); \
        va_list arguments;                                                           \
        va_start(arguments, flags);                                                  \
        const mode_t mode = mode_of(flags, arguments);                               \
        va_end(arguments);                                                           \
        wait_for_the_server(path);                                                   \
        return next(path, flags, mode);                                              \
    }

SLOW_OPEN(open)
SLOW_OPEN(open64)

int openat(int folder, const char *path, int flags, ...) {
    static int (*next)(int, const char *, int, ...);
    if (!next) next = (int (*)(int, const char *, int, ...))dlsym(RTLD_NEXT, "openat");
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = mode_of(flags, arguments);
    va_end(arguments);
    wait_for_the_server(path);
    return next(folder, path, flags, mode);
}
