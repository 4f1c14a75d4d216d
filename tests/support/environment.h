// Environment variables set for one test and put back as they were when the
// test ends, whether its checks passed or not.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class Environment {
public:
    Environment() = default;
    Environment(const Environment &) = delete;
    Environment &operator=(const Environment &) = delete;
    ~Environment() {
        for (const auto &[name, value] : saved_) value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
    // Sets `name` to `value`, or unsets it for null.
    void set(const std::string &name, const char *value) {
        if (std::none_of(saved_.begin(), saved_.end(), [&](const auto &entry) { return entry.first == name; })) {
            const char *before = std::getenv(name.c_str());
            saved_.emplace_back(name, before ? std::optional<std::string>(before) : std::nullopt);
        }
        value ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str());
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};
