// SPDX-License-Identifier: MIT
// unique_fd.h: UniqueFd, a file descriptor that closes itself when its owner goes.
#pragma once

#include <unistd.h>

#include <utility>

namespace rubicel {

// Owns one open descriptor (or none, -1). Moving hands it on; destruction closes it.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) reset(std::exchange(other.fd_, -1));
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

    // Closes the descriptor held, if any, and holds fd instead.
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
    // Closes the descriptor now and returns what close returned (0 when none was
    // held), for writers whose data may fail to reach the disk only at the close.
    int close() { return fd_ >= 0 ? ::close(std::exchange(fd_, -1)) : 0; }

private:
    int fd_ = -1;
};

}  // namespace rubicel
