// SPDX-License-Identifier: MIT
// atlas_command.h: rubicel-render --atlas: the atlas with a progress bar and its failures on standard error.
#pragma once

#include "export/atlas.h"

namespace rubicel {

// Makes the atlas; shows a progress bar on standard error when it is a terminal
// and reports each map that failed there. Returns the exit status: 0 when every
// map and the page were written, 1 otherwise.
int runAtlasCommand(const AtlasSettings& settings);

}  // namespace rubicel
