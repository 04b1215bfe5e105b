// SPDX-License-Identifier: MIT
// chm_file.h: reads the pages of a compiled HTML help file for the help viewer.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct chmFile;

namespace rubicel {

// An open help file. Pages are addressed by their path inside the file ("/index.html").
class ChmFile {
public:
    // Opens path; check isOpen() afterwards.
    explicit ChmFile(const std::string& path);
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // Returns the bytes of the object at path, or nothing when the file holds none.
    std::optional<std::vector<unsigned char>> read(const std::string& path) const;
    // Returns the path of the page the file opens at ("/index.html").
    std::string defaultTopic() const;

private:
    chmFile* file_ = nullptr;
};

}  // namespace rubicel
