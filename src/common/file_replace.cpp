// SPDX-License-Identifier: MIT
// file_replace.cpp: replacing a file whole or not at all (temporary file, flush, rename).
#include "common/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace rubicel {
namespace {

// The permissions a newly made file gets: those of the ordinary file it replaces,
// or the usual ones under the process's file-creation mask.
mode_t newFileMode(const std::string& target) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool writeAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += n;
        size -= std::size_t(n);
    }
    return true;
}

std::optional<ReplaceFailure> replaceFile(const std::string& path, const std::function<bool(int fd)>& write,
                                          LinkAtPath links) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target = path;
    if (links == LinkAtPath::Follow && fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    const std::string targetText = target.string();
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";

    // The new contents go to a hidden file of their own beside the old one...
    std::string hidden(".");
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string temporary = (folder / hidden).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return ReplaceFailure{ReplaceFailure::Create, errno};
    const auto fail = [&](ReplaceFailure::Stage stage) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return ReplaceFailure{stage, error};
    };
    if (::fchmod(fd, newFileMode(targetText)) != 0 || !write(fd) || ::fsync(fd) != 0) {
        const ReplaceFailure failure = fail(ReplaceFailure::Write);
        ::close(fd);
        return failure;
    }
    if (::close(fd) != 0) return fail(ReplaceFailure::Write);

    // ...and take the old one's place in one step once they are safely on disk.
    if (::rename(temporary.c_str(), targetText.c_str()) != 0) return fail(ReplaceFailure::Replace);

    // Make the rename itself durable; the file is already in place if this fails.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

}  // namespace rubicel
