// SPDX-License-Identifier: MIT
// start_folder.cpp: a scratch working folder for start-up tests.
#include "support/start_folder.h"

#include <fstream>
#include <iterator>

#include "support/sparse_tiles.h"

namespace rubicel::test {

StartFolder::StartFolder() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_.path());
}

StartFolder::~StartFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

std::string StartFolder::tileFolder() const { return (dir_.path() / "tiles").string(); }

std::filesystem::path StartFolder::configPath() const { return dir_.path() / "mgr064srubicel.cfg"; }

void StartFolder::writeConfiguration(const std::string& folder, int scheme, int mode) const {
    auto number = [](int v) {
        std::string text(1, v < 0 ? '-' : ' ');
        text += std::to_string(v < 0 ? -v : v);
        text += ' ';
        return text;
    };
    std::ofstream out(configPath(), std::ios::binary);
    out << folder << "\r\n" << number(scheme) << "\r\n" << number(mode) << "\r\n";
}

void StartFolder::prepare(int count, int scheme, int mode) const {
    const std::filesystem::path tiles = dir_.path() / "tiles";
    std::filesystem::create_directories(tiles);
    for (int i = 0; i < count && i < int(kTileNames.size()); ++i) makeSparseTile(tiles / kTileNames[std::size_t(i)]);
    writeConfiguration(tileFolder(), scheme, mode);
}

std::string StartFolder::configuration() const {
    std::ifstream in(configPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace rubicel::test
