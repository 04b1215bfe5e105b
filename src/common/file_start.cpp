// SPDX-License-Identifier: MIT
// file_start.cpp: the first bytes of a small text file.
#include "common/file_start.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "common/unique_fd.h"

namespace rubicel {

std::optional<std::string> readFileStart(const std::string& path, std::size_t limit) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) return std::nullopt;
    std::string text(limit + 1, '\0');
    std::size_t size = 0;
    while (size < text.size()) {
        const ssize_t n = ::read(fd.get(), text.data() + size, text.size() - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        size += std::size_t(n);
    }
    text.resize(size);
    return text;
}

}  // namespace rubicel
