# SPDX-License-Identifier: MIT
# Decides whether the libFuzzer targets in tests/fuzz are built: they need Clang
# and its fuzzer runtime (Debian: clang, libclang-rt-14-dev).
set(RUBICEL_FUZZ OFF)
if(NOT RUBICEL_WITH_FUZZ STREQUAL "OFF" AND RUBICEL_WITH_TESTS)
  set(fuzz_problem "")
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(fuzz_problem "the compiler is ${CMAKE_CXX_COMPILER_ID}, not Clang (configure with CXX=clang++)")
  else()
    include(CheckCXXSourceCompiles)
    set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer")
    set(CMAKE_REQUIRED_LINK_OPTIONS "-fsanitize=fuzzer")
    check_cxx_source_compiles([[
      #include <cstddef>
      #include <cstdint>
      extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }
    ]] RUBICEL_HAVE_LIBFUZZER)
    unset(CMAKE_REQUIRED_FLAGS)
    unset(CMAKE_REQUIRED_LINK_OPTIONS)
    if(NOT RUBICEL_HAVE_LIBFUZZER)
      set(fuzz_problem "Clang cannot link -fsanitize=fuzzer (install libclang-rt-14-dev)")
    endif()
  endif()
  if(fuzz_problem STREQUAL "")
    set(RUBICEL_FUZZ ON)
  elseif(RUBICEL_WITH_FUZZ STREQUAL "AUTO")
    message(STATUS "Fuzz targets not built: ${fuzz_problem}")
  else()
    message(FATAL_ERROR "RUBICEL_WITH_FUZZ=${RUBICEL_WITH_FUZZ} but ${fuzz_problem}")
  endif()
endif()
