// SPDX-License-Identifier: MIT
// atlas_command.cpp: rubicel-render --atlas: the atlas with a progress bar and its failures on standard error.
#include "export/atlas_command.h"

#include <unistd.h>

#include <cstdio>

namespace rubicel {

int runAtlasCommand(const AtlasSettings& settings) {
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    bool drawn = false;
    auto progress = [&](int done, int total) {
        if (!terminal) return;
        char bar[41];
        const int filled = total > 0 ? done * 40 / total : 40;
        for (int k = 0; k < 40; ++k) bar[k] = k < filled ? '#' : '.';
        bar[40] = '\0';
        std::fprintf(stderr, "\r[%s] %d of %d maps", bar, done, total);
        std::fflush(stderr);
        drawn = true;
    };
    std::optional<std::string> pageFailure;
    const auto entries = makeAtlas(settings, progress, pageFailure);
    if (drawn) std::fprintf(stderr, "\r%60s\r", "");

    int failed = 0;
    for (const auto& e : entries) {
        if (!e.failure) continue;
        ++failed;
        std::fprintf(stderr, "rubicel-render: %s: %s\n", e.request.caption.c_str(), e.failure->c_str());
    }
    if (pageFailure) std::fprintf(stderr, "rubicel-render: %s\n", pageFailure->c_str());
    if (failed > 0)
        std::fprintf(stderr, "rubicel-render: %d of %zu maps failed\n", failed, entries.size());
    return failed > 0 || pageFailure ? 1 : 0;
}

}  // namespace rubicel
