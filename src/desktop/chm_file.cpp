// SPDX-License-Identifier: MIT
// chm_file.cpp: reads the pages of a compiled HTML help file for the help viewer.
#include "desktop/chm_file.h"

#include <chm_lib.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "common/positional_io.h"
#include "common/unique_fd.h"
#include "desktop/chm_check.h"

namespace rubicel {

ChmFile::ChmFile(const std::string& path) {
    // The bytes checked are those of the open file chmlib is then given, even
    // if the name is given to another file meanwhile.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (!fd || ::fstat(fd.get(), &status) != 0) {
        problem_ = std::strerror(errno);
        return;
    }
    if (std::uint64_t(status.st_size) > kFileLimit) {
        problem_ = "it is larger than " + std::to_string(kFileLimit >> 20) + " MB";
        return;
    }
    std::vector<unsigned char> bytes(std::size_t(status.st_size));
    const PositionalIo io = preadAll(fd.get(), bytes.data(), bytes.size(), 0);
    if (io.error) {
        problem_ = std::strerror(io.error);
        return;
    }
    bytes.resize(io.bytes);
    const ChmCheck check = checkChmBytes(bytes);
    problem_ = check.problem;
    if (!problem_.empty()) return;
    compressedBytes_ = check.compressedBytes;
    file_ = chm_open(("/proc/self/fd/" + std::to_string(fd.get())).c_str());
    if (!file_) problem_ = "it is not a compiled help file";
}

ChmFile::~ChmFile() {
    if (file_) chm_close(file_);
}

ChmObject ChmFile::read(const std::string& path, std::uint64_t limit) const {
    ChmObject object;
    if (!file_) return object;
    const std::string inside = path.empty() || path[0] != '/' ? "/" + path : path;
    chmUnitInfo info{};
    if (chm_resolve_object(file_, inside.c_str(), &info) != CHM_RESOLVE_SUCCESS) return object;
    // A compressed object must lie in the blocks the checked block table describes.
    if (info.space == CHM_COMPRESSED &&
        (info.start > compressedBytes_ || info.length > compressedBytes_ - info.start)) {
        object.status = ChmObject::Damaged;
        return object;
    }
    if (info.length > limit) {
        object.status = ChmObject::TooLarge;
        return object;
    }
    object.bytes.resize(static_cast<std::size_t>(info.length));
    if (!object.bytes.empty() &&
        chm_retrieve_object(file_, &info, object.bytes.data(), 0, static_cast<LONGINT64>(info.length)) !=
            static_cast<LONGINT64>(info.length)) {
        object.bytes.clear();
        return object;
    }
    object.status = ChmObject::Found;
    return object;
}

std::string ChmFile::defaultTopic() const {
    // The /#SYSTEM object: a 4-byte version, then records of a 2-byte code, a
    // 2-byte length and that many bytes, little-endian; code 2 is the default topic.
    if (const ChmObject system = read("/#SYSTEM")) {
        const auto& b = system.bytes;
        std::size_t at = 4;
        while (at + 4 <= b.size()) {
            const unsigned code = b[at] | (b[at + 1] << 8);
            const std::size_t length = b[at + 2] | (b[at + 3] << 8);
            at += 4;
            if (at + length > b.size()) break;
            if (code == 2 && length > 0) {
                const char* text = reinterpret_cast<const char*>(b.data() + at);
                std::string topic(text, strnlen(text, length));
                if (!topic.empty()) return topic[0] == '/' ? topic : "/" + topic;
            }
            at += length;
        }
    }
    return "/index.html";
}

}  // namespace rubicel
