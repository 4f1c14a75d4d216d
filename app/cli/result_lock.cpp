#include "cli/result_lock.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zscan {
namespace {

// FNV-1a: the lock file's name stands for the result's whole path, which
// may be longer than a file name.
std::string path_hash(const std::string &path) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char byte : path) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ULL;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace

ResultLock::~ResultLock() {
    if (descriptor_ >= 0) close(descriptor_);
}

bool ResultLock::take(const std::string &lock_folder, const std::string &result_path, std::string &holder,
                      std::string &error) {
    const std::string path = lock_folder + "/zscan-result-" + path_hash(result_path) + ".lock";
    const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        char pid[32] = {};
        const ssize_t length = pread(descriptor, pid, sizeof pid - 1, 0);
        holder.assign(pid, length > 0 ? static_cast<size_t>(length) : 0);
        close(descriptor);
        return false;
    }
    // The holder's process id, for the message of the one refused; the
    // lock holds without it.
    const std::string pid = std::to_string(getpid());
    const bool noted = ftruncate(descriptor, 0) == 0 &&
                       pwrite(descriptor, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
    static_cast<void>(noted);
    descriptor_ = descriptor;
    return true;
}

}  // namespace zscan
