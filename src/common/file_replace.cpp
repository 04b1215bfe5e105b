// SPDX-License-Identifier: MIT
// file_replace.cpp: replacing a file whole or not at all (temporary file, flush, rename).
#include "common/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "common/unique_fd.h"

namespace rubicel {
namespace {

// Creates a new hidden file with a short name in folder, so that the final
// name's length never limits it, and returns its descriptor and path. Mode 0666
// lets the file-creation mask apply by itself.
UniqueFd createTemporary(const std::filesystem::path& folder, std::string& path) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = ".rubicel-";
        for (int i = 0; i < 8; ++i) name += kLetters[pick(random)];
        path = (folder / name).string();
        UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return UniqueFd();
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
        // Replacing the link itself would cut it off from the file it names.
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (ec) return ReplaceFailure{ReplaceFailure::Link, ec.value()};
        target = resolved;
    }
    const std::string targetText = target.string();
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";

    // The new contents go to a hidden file of their own beside the old one...
    std::string temporary;
    UniqueFd fd = createTemporary(folder, temporary);
    if (!fd) return ReplaceFailure{ReplaceFailure::Create, errno};
    const auto fail = [&](ReplaceFailure::Stage stage) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return ReplaceFailure{stage, error};
    };
    // A file it replaces passes on its permissions.
    struct stat old {};
    const bool keepMode = ::lstat(targetText.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    if ((keepMode && ::fchmod(fd.get(), old.st_mode & 07777) != 0) || !write(fd.get()) || ::fsync(fd.get()) != 0)
        return fail(ReplaceFailure::Write);
    if (fd.close() != 0) return fail(ReplaceFailure::Write);

    // ...and take the old one's place in one step once they are safely on disk.
    if (::rename(temporary.c_str(), targetText.c_str()) != 0) return fail(ReplaceFailure::Replace);

    // Make the rename itself durable; the file is already in place if this fails.
    if (const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY)); dir) ::fsync(dir.get());
    return std::nullopt;
}

}  // namespace rubicel
