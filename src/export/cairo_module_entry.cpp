// SPDX-License-Identifier: MIT
// cairo_module_entry.cpp: the one symbol the Cairo module shows the programs that load it: its handshake.
#include "export/cairo_module.h"
#include "export/cairo_painter.h"

namespace rubicel {
namespace {

const CairoEntries kEntries = {paintOnRaster, writePdfPage};

}  // namespace
}  // namespace rubicel

RUBICEL_MODULE_HANDSHAKE(cairo, rubicel::kCairoInterfaceVersion, rubicel::kCairoLayout, rubicel::kEntries)
