// SPDX-License-Identifier: MIT
// wide_vectors.h: RUBICEL_WIDE_VECTORS, for hot loops built for the plain instruction set and for AVX2.
#pragma once

// A function marked so is compiled twice on x86-64, for the plain instruction
// set and for AVX2, and the processor's own is picked when the program starts
// (no fused multiply-add either way, so both give the same results). Not under
// the address sanitizer, which does not follow the switch.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
#define RUBICEL_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define RUBICEL_WIDE_VECTORS
#endif
