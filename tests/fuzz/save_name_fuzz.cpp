// SPDX-License-Identifier: MIT
// save_name_fuzz.cpp: any text as the name of a saved map: a name the check lets
// through names a file inside the maps folder, and saving under it leaves every
// other file, inside the maps folder and beside it, as it was.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"
#include "windows/save_panel.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kKeptMap = "kept.BMP";
constexpr const char* kKeptBytes = "an earlier map";

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every entry below folder, as paths relative to it.
std::vector<fs::path> entriesBelow(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(fs::relative(it->path(), folder));
    std::sort(entries.begin(), entries.end());
    return entries;
}

}  // namespace
}  // namespace rubicel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rubicel;
    const std::string name(reinterpret_cast<const char*>(data), size);

    // The start folder holds the configuration file and the maps folder with one map.
    const fs::path start = fuzz::scratchFolder() / "start";
    const fs::path maps = start / "Maps";
    std::error_code ignored;
    fs::remove_all(start, ignored);
    fs::create_directories(maps);
    fuzz::writeFile(start / "mgr064srubicel.cfg", "/tiles/\r\n 1 \r\n 1 \r\n");
    fuzz::writeFile(maps / kKeptMap, kKeptBytes);
    const std::vector<fs::path> before = entriesBelow(start);

    const std::optional<std::string> refusal = unusableFileName(name);
    if (!refusal) {
        const fs::path target = (maps / bitmapFileName(name)).lexically_normal();
        fuzz::expect(target.parent_path() == maps.lexically_normal(), "an accepted name stays in the maps folder");
    }

    HeadlessPlatform ui;
    Program p{ui};
    p.map.startfolder = start.string();
    p.dmap.image.reset(3, 2, 0xFF102030u);
    m_savemap_Click(p);
    newmap_Change(p, name);
    saveit_Click(p, 0);

    // Nothing beside the maps folder changed, and nothing in it but the file named.
    const std::vector<fs::path> after = entriesBelow(start);
    const std::string saved = name.empty() || refusal ? std::string() : bitmapFileName(name);
    for (const fs::path& entry : after)
        if (std::find(before.begin(), before.end(), entry) == before.end())
            fuzz::expect(entry == fs::path("Maps") / saved, "the only new file is the map saved");
    for (const fs::path& entry : before)
        fuzz::expect(std::find(after.begin(), after.end(), entry) != after.end(), "no file or folder is lost");
    if (saved != kKeptMap) fuzz::expect(readAll(maps / kKeptMap) == kKeptBytes, "an earlier map is kept");
    fuzz::expect(readAll(start / "mgr064srubicel.cfg") == "/tiles/\r\n 1 \r\n 1 \r\n",
                 "the configuration file is untouched");
    return 0;
}
