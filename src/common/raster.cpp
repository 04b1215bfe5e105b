// SPDX-License-Identifier: MIT
// raster.cpp: handing back the memory of rows a picture written as it is drawn no longer needs.
#include "common/raster.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace rubicel {

void Raster::releaseRowsBefore(int y) {
    if (!writtenAsDrawn_ || empty()) return;
    y = std::min(y, height_);
    if (y <= 0) return;
    static const std::uintptr_t page = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(pixels_.data());
    // Whole pages only: the first may hold the allocator's own bookkeeping, the
    // last row's may hold the next row's pixels.
    const std::uintptr_t from = (start + releasedBytes_ + page - 1) / page * page;
    const std::uintptr_t to = (start + std::size_t(y) * std::size_t(width_) * sizeof(std::uint32_t)) / page * page;
    if (to <= from) return;
    if (::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED) == 0) releasedBytes_ = to - start;
}

}  // namespace rubicel
