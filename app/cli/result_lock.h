// Keeps two zscan processes from writing one result file at the same
// time: each holds a lock named after the result's path while it runs.
// The lock is the system's own (flock), so it ends with its process
// however that ends.
#pragma once

#include <string>

namespace zscan {

class ResultLock {
public:
    ResultLock() = default;
    ~ResultLock();
    ResultLock(const ResultLock &) = delete;
    ResultLock &operator=(const ResultLock &) = delete;

    // Takes the lock of `result_path` (absolute), keeping its lock file in
    // `lock_folder`.  False when another process holds it (`holder` is then
    // its process id, or empty when unknown) or the lock file cannot be
    // made (`error` says why).
    bool take(const std::string &lock_folder, const std::string &result_path, std::string &holder,
              std::string &error);

private:
    int descriptor_ = -1;
};

}  // namespace zscan
