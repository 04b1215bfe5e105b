// SPDX-License-Identifier: MIT
// chm_file_fuzz.cpp: any bytes as the help file: opened, its default topic found and pages read, as the
// help viewer does. chmlib takes sizes and places from the file; what it is given must not make it ask for
// gigabytes, read or write past its buffers, divide by zero or loop for ever.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "desktop/chm_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rubicel;
    const std::filesystem::path path = fuzz::scratchFolder() / "help.chm";
    fuzz::writeFile(path, std::string_view(reinterpret_cast<const char*>(data), size));

    const ChmFile help(path.string());
    fuzz::expect(help.isOpen() == help.problem().empty(), "a file that does not open says why, and only then");
    if (!help.isOpen()) return 0;
    const std::string topic = help.defaultTopic();
    fuzz::expect(!topic.empty() && topic[0] == '/', "the default topic is a path in the file");
    for (const std::string& page : {topic, std::string("/index.html"), std::string("/b.html"), std::string("/#SYSTEM")}) {
        const ChmObject object = help.read(page);
        fuzz::expect(object.status == ChmObject::Found || object.bytes.empty(), "only a page found has bytes");
        fuzz::expect(object.bytes.size() <= ChmFile::kObjectLimit, "no page is larger than the limit");
    }
    return 0;
}
