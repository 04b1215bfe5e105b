// SPDX-License-Identifier: MIT
// file_replace.h: replacing files whole or not at all (temporary files, flush, rename), one or a set together.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/temporary_files.h"

namespace rubicel {

// What went wrong while replacing a file, the system's error number and the file.
struct ReplaceFailure {
    // Link: the path is a symbolic link whose target cannot be worked out.
    // Kind: the path is a folder (error EISDIR), a socket (ENXIO) or a block
    // device (EPERM), which no file is written over or into, or a pipe that no
    // program reads when the caller will not wait (EPIPE).
    enum Stage { Create, Write, Replace, Link, Kind } stage;
    int error;
    std::string path;
};

// "Cannot write map.png: No space left on device" and the like.
std::string describeFailure(const ReplaceFailure& failure);

// What becomes of a symbolic link at the path being replaced: Follow replaces
// the file it points at; Replace puts the new file in the link's place and leaves
// whatever it pointed at alone. Either way a link to a character device or a
// pipe is written through.
enum class LinkAtPath { Follow, Replace };

// How a writer goes through its file: InOrder writes it from start to end and can
// write straight into a device or a pipe; AnyOrder seeks in it or reads it back,
// so a device or a pipe gets the file from a temporary copy once it is whole.
enum class Writes { InOrder, AnyOrder };

// What writing into a pipe that no program reads yet does: Wait until one opens
// it, as a shell's redirection does, or Refuse at once, for a program that must
// not hang (saving its settings on the way out).
enum class NoReader { Wait, Refuse };

// Files replaced together, all of them or none. write() puts the new contents of
// each into a hidden temporary file with a short name beside it and flushes it to
// disk; commit() renames every one over its old file, and should a rename fail,
// puts back the old files already replaced. What is not committed is removed,
// also when a signal ends the process (removeTemporariesOnSignals). A character
// device or a pipe at a path (/dev/null, a terminal, a FIFO) is never replaced:
// its contents are written into it at once, and they cannot be taken back.
class FileSet {
public:
    FileSet() = default;
    ~FileSet();
    FileSet(const FileSet&) = delete;
    FileSet& operator=(const FileSet&) = delete;

    // Writes the new contents of path: write gets an open file and returns false,
    // errno set, when it fails. The new file gets the old file's permissions, or
    // the usual ones under the file-creation mask. Any name the folder takes can be
    // written.
    [[nodiscard]] std::optional<ReplaceFailure> write(const std::string& path, const std::function<bool(int fd)>& write,
                                                      LinkAtPath links = LinkAtPath::Follow,
                                                      Writes writes = Writes::InOrder,
                                                      NoReader noReader = NoReader::Wait);
    // Puts every file written in place of its old one.
    [[nodiscard]] std::optional<ReplaceFailure> commit();

private:
    struct Pending {
        std::string target, temporary;
        TemporaryGuard guard;
    };
    void discard();
    std::vector<Pending> pending_;
};

// One file replaced through a FileSet of its own.
[[nodiscard]] std::optional<ReplaceFailure> replaceFile(const std::string& path,
                                                        const std::function<bool(int fd)>& write,
                                                        LinkAtPath links = LinkAtPath::Follow,
                                                        Writes writes = Writes::InOrder,
                                                        NoReader noReader = NoReader::Wait);

// Writes all of size bytes to fd, going on after partial writes and interruptions.
bool writeAll(int fd, const void* data, std::size_t size);

}  // namespace rubicel
