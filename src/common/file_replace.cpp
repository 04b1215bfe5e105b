// SPDX-License-Identifier: MIT
// file_replace.cpp: replacing files whole or not at all (temporary files, flush, rename), one or a set together.
#include "common/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>

#include "common/unique_fd.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;

// A hidden name with a short random part in folder, so that the final name's
// length never limits it.
std::string hiddenName(const fs::path& folder) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string name = ".rubicel-";
    for (int i = 0; i < 8; ++i) name += kLetters[pick(random)];
    return (folder / name).string();
}

// Creates a new hidden file in folder (open flags besides creation) and guards
// its name. The name is guarded before the file exists, so that a signal never
// finds a file of this process unguarded. Mode 0666 lets the file-creation mask
// apply by itself.
UniqueFd createTemporary(const fs::path& folder, int flags, std::string& path, TemporaryGuard& guard) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = hiddenName(folder);
        guard = TemporaryGuard(path);
        UniqueFd fd(::open(path.c_str(), flags | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd) return fd;
        const int error = errno;
        guard.release();
        if (error != EEXIST) {
            errno = error;
            return UniqueFd();
        }
    }
    errno = EEXIST;
    return UniqueFd();
}

// A second, hidden name for the file at target in folder, under which it
// outlives its replacement until the set is in place. False when the file
// system gives files no second names.
bool keepUnderSecondName(const std::string& target, const fs::path& folder, std::string& path, TemporaryGuard& guard) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = hiddenName(folder);
        guard = TemporaryGuard(path);
        if (::link(target.c_str(), path.c_str()) == 0) return true;
        guard.release();
        if (errno != EEXIST) break;
    }
    path.clear();
    return false;
}

bool isDeviceOrPipe(mode_t mode) { return S_ISCHR(mode) || S_ISFIFO(mode); }

// Copies the whole of the file from into to, from its start.
bool copyInto(int from, int to) {
    if (::lseek(from, 0, SEEK_SET) != 0) return false;
    std::vector<char> buffer(std::size_t(1) << 20);
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (!writeAll(to, buffer.data(), std::size_t(n))) return false;
    }
}

// Writes into the character device or pipe at path, which stays what it is. A
// writer that seeks writes a temporary file first, in the temporary folder (the
// device's own folder is seldom writable), nameless from the start.
std::optional<ReplaceFailure> writeInto(const std::string& path, const std::function<bool(int fd)>& write,
                                        Writes writes, NoReader noReader) {
    const auto fail = [&path] { return ReplaceFailure{ReplaceFailure::Write, errno, path}; };
    UniqueFd spool;
    if (writes == Writes::AnyOrder) {
        std::error_code ec;
        fs::path folder = fs::temp_directory_path(ec);
        if (ec) folder = "/tmp";
        std::string name;
        TemporaryGuard guard;
        spool = createTemporary(folder, O_RDWR, name, guard);
        if (!spool) return fail();
        ::unlink(name.c_str());
        guard.release();
        if (!write(spool.get())) return fail();
    }
    // A pipe waits here for its reader, unless told not to: then opening it
    // fails when nobody reads, and the writes that follow wait as usual.
    const int nonblocking = noReader == NoReader::Refuse ? O_NONBLOCK : 0;
    UniqueFd into(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | nonblocking));
    if (!into && errno == ENXIO) return ReplaceFailure{ReplaceFailure::Kind, EPIPE, path};
    if (!into || (nonblocking && ::fcntl(into.get(), F_SETFL, ::fcntl(into.get(), F_GETFL) & ~O_NONBLOCK) != 0))
        return fail();
    if (!(spool ? copyInto(spool.get(), into.get()) : write(into.get())) || into.close() != 0) return fail();
    return std::nullopt;
}

}  // namespace

std::string describeFailure(const ReplaceFailure& failure) {
    const std::string why = std::strerror(failure.error);
    switch (failure.stage) {
    case ReplaceFailure::Create: return "Cannot create a temporary file beside " + failure.path + ": " + why;
    case ReplaceFailure::Link: return "Cannot follow the link " + failure.path + ": " + why;
    case ReplaceFailure::Replace: return "Cannot replace " + failure.path + ": " + why;
    case ReplaceFailure::Kind:
        return "Cannot write " + failure.path + ": it is " +
               (failure.error == EISDIR  ? "a folder"
                : failure.error == ENXIO ? "a socket"
                : failure.error == EPIPE ? "a pipe that no program reads"
                                         : "a block device");
    case ReplaceFailure::Write: break;
    }
    return "Cannot write " + failure.path + ": " + why;
}

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

FileSet::~FileSet() { discard(); }

void FileSet::discard() {
    for (const Pending& p : pending_) ::unlink(p.temporary.c_str());
    pending_.clear();
}

std::optional<ReplaceFailure> FileSet::write(const std::string& path, const std::function<bool(int fd)>& write,
                                             LinkAtPath links, Writes writes, NoReader noReader) {
    std::string target = path;
    struct stat at {};
    mode_t mode = ::lstat(path.c_str(), &at) == 0 ? at.st_mode : 0;  // 0: nothing there
    if (S_ISLNK(mode)) {
        struct stat to {};
        if (::stat(path.c_str(), &to) == 0 && isDeviceOrPipe(to.st_mode)) return writeInto(path, write, writes, noReader);
        if (links == LinkAtPath::Follow) {
            // Replacing the link itself would cut it off from the file it names.
            std::error_code ec;
            const fs::path resolved = fs::weakly_canonical(path, ec);
            if (ec) return ReplaceFailure{ReplaceFailure::Link, ec.value(), path};
            target = resolved.string();
            mode = ::lstat(target.c_str(), &at) == 0 ? at.st_mode : 0;
        }
    }
    if (isDeviceOrPipe(mode)) return writeInto(target, write, writes, noReader);
    if (mode != 0 && !S_ISREG(mode) && !S_ISLNK(mode)) {
        const int error = S_ISDIR(mode) ? EISDIR : S_ISSOCK(mode) ? ENXIO : EPERM;
        return ReplaceFailure{ReplaceFailure::Kind, error, path};
    }

    // The new contents go to a hidden file of their own beside the old one.
    fs::path folder = fs::path(target).parent_path();
    if (folder.empty()) folder = ".";
    Pending p{target, {}, {}};
    UniqueFd fd = createTemporary(folder, O_WRONLY, p.temporary, p.guard);
    if (!fd) return ReplaceFailure{ReplaceFailure::Create, errno, path};
    const auto fail = [&] {
        const int error = errno;
        ::unlink(p.temporary.c_str());
        return ReplaceFailure{ReplaceFailure::Write, error, path};
    };
    // A file it replaces passes on its permissions.
    if ((S_ISREG(mode) && ::fchmod(fd.get(), at.st_mode & 07777) != 0) || !write(fd.get()) || ::fsync(fd.get()) != 0)
        return fail();
    if (fd.close() != 0) return fail();
    pending_.push_back(std::move(p));
    return std::nullopt;
}

std::optional<ReplaceFailure> FileSet::commit() {
    // With more than one file, each old one keeps a second name until all are in
    // place, to be put back should a later rename fail.
    struct Old {
        bool existed = false;
        std::string keptAs;  // empty: it cannot be put back
        TemporaryGuard guard;
    };
    std::vector<Old> old(pending_.size());
    if (pending_.size() > 1) {
        for (std::size_t i = 0; i < pending_.size(); ++i) {
            struct stat st {};
            old[i].existed = ::lstat(pending_[i].target.c_str(), &st) == 0;
            if (old[i].existed)
                keepUnderSecondName(pending_[i].target, fs::path(pending_[i].target).parent_path(), old[i].keptAs,
                                    old[i].guard);
        }
    }
    const auto forgetOld = [&old] {
        for (const Old& o : old)
            if (!o.keptAs.empty()) ::unlink(o.keptAs.c_str());
    };
    // Each new file takes its old one's place in one step, now that it is safely on disk.
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        if (::rename(pending_[i].temporary.c_str(), pending_[i].target.c_str()) == 0) continue;
        const ReplaceFailure failure{ReplaceFailure::Replace, errno, pending_[i].target};
        for (std::size_t j = i; j-- > 0;) {
            pending_[j].temporary.clear();  // renamed: nothing to remove under that name
            if (!old[j].existed)
                ::unlink(pending_[j].target.c_str());
            else if (!old[j].keptAs.empty() && ::rename(old[j].keptAs.c_str(), pending_[j].target.c_str()) == 0)
                old[j].keptAs.clear();
        }
        forgetOld();
        discard();
        return failure;
    }
    forgetOld();
    // Make the renames themselves durable; the files are in place if this fails.
    std::set<fs::path> folders;
    for (const Pending& p : pending_) folders.insert(fs::path(p.target).parent_path());
    for (const fs::path& folder : folders)
        if (const UniqueFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY)); dir)
            ::fsync(dir.get());
    pending_.clear();
    return std::nullopt;
}

std::optional<ReplaceFailure> replaceFile(const std::string& path, const std::function<bool(int fd)>& write,
                                          LinkAtPath links, Writes writes, NoReader noReader) {
    FileSet set;
    if (auto failure = set.write(path, write, links, writes, noReader)) return failure;
    return set.commit();
}

}  // namespace rubicel
