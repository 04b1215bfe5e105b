// SPDX-License-Identifier: MIT
// chm_file.h: reads the pages of a compiled HTML help file for the help viewer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct chmFile;

namespace rubicel {

// One object read from a help file.
struct ChmObject {
    // Damaged: the file places the object outside what its checked tables describe.
    enum Status { Found, Missing, TooLarge, Damaged } status = Missing;
    std::vector<unsigned char> bytes;
    explicit operator bool() const { return status == Found; }
};

// An open help file. Pages are addressed by their path inside the file ("/index.html").
class ChmFile {
public:
    // The most one object may take: the file states each object's length, and a
    // damaged or hostile file must not make the program ask for more than this.
    static constexpr std::uint64_t kObjectLimit = 16u << 20;
    // The most the whole file may take: it is read whole to be checked.
    static constexpr std::uint64_t kFileLimit = 64u << 20;

    // Opens path with chmlib once the sizes and places it states have passed
    // checkChmBytes (chm_check.h); check isOpen() afterwards, and problem() when it is not.
    explicit ChmFile(const std::string& path);
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // Why the file is not open: "it is not a compiled help file", "its directory
    // chunks are said to be 4294967295 bytes"; empty when it is.
    const std::string& problem() const { return problem_; }
    // Reads the object at path; one longer than limit is not read.
    ChmObject read(const std::string& path, std::uint64_t limit = kObjectLimit) const;
    // Returns the path of the page the file opens at ("/index.html").
    std::string defaultTopic() const;

private:
    chmFile* file_ = nullptr;
    std::string problem_;
    std::uint64_t compressedBytes_ = 0;  // of the compressed section, from ChmCheck
};

}  // namespace rubicel
