// SPDX-License-Identifier: MIT
// positional_io.h: reading or writing a whole block at an offset of a file.
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace rubicel {

// How a whole read or write ended: the bytes moved, and the system's error
// number when it failed (0 when every byte was moved, or when a read met the
// end of the file first: then bytes is short).
struct PositionalIo {
    std::size_t bytes = 0;
    int error = 0;
};

// Reads size bytes of fd from offset into data, going on after partial reads
// and interruptions, until all are read, the file ends or a read fails.
PositionalIo preadAll(int fd, void* data, std::size_t size, off_t offset);

// Writes size bytes of data to fd at offset, going on after partial writes and
// interruptions; a write that takes nothing fails with EIO.
PositionalIo pwriteAll(int fd, const void* data, std::size_t size, off_t offset);

}  // namespace rubicel
