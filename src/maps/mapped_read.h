// SPDX-License-Identifier: MIT
// mapped_read.h: reading mapped tile records so that a file that shrinks under the reader is an error, not a crash.
#pragma once

namespace rubicel {

// Runs copy(context), which reads memory mapped from a tile file. When the file
// is cut short while it is mapped (or its device fails), touching a page past
// its new end raises SIGBUS; here that fault ends copy at once and readMapped
// returns false, so the caller can report the file instead of the process
// dying. copy must hold no object with a destructor and take no lock, since it
// is left without unwinding; it should only copy samples. A SIGBUS outside
// readMapped keeps its usual effect.
[[nodiscard]] bool readMapped(void (*copy)(void* context), void* context);

}  // namespace rubicel
