// SPDX-License-Identifier: MIT
// unprivileged.cpp: file permissions that bind in a test, also when it runs as the superuser.
#include "support/unprivileged.h"

#include <fcntl.h>
#include <sys/fsuid.h>
#include <unistd.h>

#include <string>
#include <system_error>

#include "support/temp_dir.h"

namespace rubicel::test {
namespace {

constexpr uid_t kNobody = 65534;

// Whether a file can be made in a folder whose permissions forbid it.
bool folderRefusesWrites() {
    TempDir dir;
    namespace fs = std::filesystem;
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    const std::string probe = (dir.path() / "probe").string();
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return true;
    ::close(fd);
    ::unlink(probe.c_str());
    return false;
}

}  // namespace

Unprivileged::Unprivileged() {
    if (::geteuid() == 0) {
        // Changing the file-system user away from 0 also drops the rights that
        // pass over permission bits, for this thread only.
        ::setfsgid(kNobody);
        ::setfsuid(kNobody);
        switched_ = true;
    }
    bind_ = folderRefusesWrites();
}

Unprivileged::~Unprivileged() {
    if (!switched_) return;
    ::setfsuid(0);
    ::setfsgid(0);
}

void openToOthers(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    const fs::perms p = fs::status(path, ignored).permissions();
    fs::perms add = fs::perms::none;
    if ((p & fs::perms::owner_read) != fs::perms::none) add |= fs::perms::group_read | fs::perms::others_read;
    if ((p & fs::perms::owner_write) != fs::perms::none) add |= fs::perms::group_write | fs::perms::others_write;
    if ((p & fs::perms::owner_exec) != fs::perms::none) add |= fs::perms::group_exec | fs::perms::others_exec;
    fs::permissions(path, add, fs::perm_options::add, ignored);
}

}  // namespace rubicel::test
