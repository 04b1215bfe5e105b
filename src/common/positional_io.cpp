// SPDX-License-Identifier: MIT
// positional_io.cpp: reading or writing a whole block at an offset of a file.
#include "common/positional_io.h"

#include <unistd.h>

#include <cerrno>

namespace rubicel {

PositionalIo preadAll(int fd, void* data, std::size_t size, off_t offset) {
    auto* bytes = static_cast<char*>(data);
    PositionalIo io;
    while (io.bytes < size) {
        const ssize_t n = ::pread(fd, bytes + io.bytes, size - io.bytes, offset + off_t(io.bytes));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) io.error = errno;
        if (n <= 0) break;
        io.bytes += std::size_t(n);
    }
    return io;
}

PositionalIo pwriteAll(int fd, const void* data, std::size_t size, off_t offset) {
    const auto* bytes = static_cast<const char*>(data);
    PositionalIo io;
    while (io.bytes < size) {
        const ssize_t n = ::pwrite(fd, bytes + io.bytes, size - io.bytes, offset + off_t(io.bytes));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            io.error = n < 0 ? errno : EIO;
            break;
        }
        io.bytes += std::size_t(n);
    }
    return io;
}

}  // namespace rubicel
