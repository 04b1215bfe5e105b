// SPDX-License-Identifier: MIT
// unprivileged.h: file permissions that bind in a test, also when it runs as the superuser.
#pragma once

#include <filesystem>

namespace rubicel::test {

// While it lives, the calling thread reaches files as an unprivileged user when
// the process runs as the superuser (whose rights would pass over every
// permission bit); otherwise it changes nothing. Files the test made before
// must be opened to others (openToOthers) for that user to reach them.
class Unprivileged {
public:
    Unprivileged();
    ~Unprivileged();
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

    // True when permission bits now bind the calling thread.
    bool permissionsBind() const { return bind_; }

private:
    bool switched_ = false;
    bool bind_ = false;
};

// Gives everyone the rights the owner has on path (a folder: read, write, enter).
void openToOthers(const std::filesystem::path& path);

}  // namespace rubicel::test
