// SPDX-License-Identifier: MIT
// map_stream.h: a map drawn straight into its BMP or PNG file, a row at a time.
#pragma once

#include <optional>
#include <string>

#include "export/map_output.h"

namespace rubicel {

class HeadlessPlatform;
struct MapRequest;
struct Program;

// Draws request as drawMap does and writes the map to path as its rows are
// drawn, handing each written row's memory back, so a full-resolution tile never
// holds its whole picture at once. The file, a BMP or a PNG (format), is byte for
// byte what writeMap writes from the finished picture (with its world files when
// worldFile is set), and the map and its world files replace the old ones all
// or none. drawn tells whether
// the rendering succeeded (its message is then among ui's); the result describes
// a failure to write (a file that cannot be started is one, before any drawing),
// or is nothing. p's picture is left empty.
[[nodiscard]] std::optional<std::string> drawMapIntoFile(Program& p, HeadlessPlatform& ui, const MapRequest& request,
                                                         const std::string& path, ImageFormat format, bool worldFile,
                                                         bool& drawn);

}  // namespace rubicel
