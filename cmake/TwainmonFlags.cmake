# The compiler flags of every target of the project: the monitor, the reader, the tools, the
# tests, the benchmark and the fuzz targets. Included once, from the top-level CMakeLists.txt,
# before any target is made; nothing else sets warnings or sanitizers.
#
# Warnings are errors only where asked (TWAINMON_WERROR, which the project's own scripts and CI
# set): a consumer's build never fails on a warning of a newer compiler.
option(TWAINMON_WERROR "Treat warnings as errors (the project's own builds and CI; off for consumers)" OFF)
option(TWAINMON_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TWAINMON_TSAN "Build everything with ThreadSanitizer" OFF)

add_compile_options(-Wall -Wextra -Wpedantic)
if(TWAINMON_WERROR)
  add_compile_options(-Werror)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC's flow analysis reports uninitialised reads inside the standard library (<regex>,
  # <functional>) that are not there, notably when sanitizers or optimisation change the inlining.
  add_compile_options(-Wno-maybe-uninitialized)
endif()
# AddressSanitizer and UndefinedBehaviorSanitizer, in the sanitizer build and the fuzz build alike:
# any stray read or undefined behaviour stops the program.
set(TWAINMON_ASAN_UBSAN -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
if(TWAINMON_SANITIZE)
  add_compile_options(${TWAINMON_ASAN_UBSAN})
  add_link_options(-fsanitize=address,undefined)
endif()
if(TWAINMON_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# ---- The fuzz build (TWAINMON_FUZZ, clang) -----------------------------------------------------
# Instruments libraries for the fuzzer: coverage for libFuzzer, and the sanitizers.
function(twainmon_fuzz_instrument)
  foreach(library ${ARGN})
    target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link ${TWAINMON_ASAN_UBSAN})
  endforeach()
endfunction()

# A libFuzzer target: the fuzzer's main and the sanitizers.
function(twainmon_fuzz_target target)
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer ${TWAINMON_ASAN_UBSAN})
  target_link_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
endfunction()

# A program of the fuzz build that is no fuzz target (it has a main of its own) but links the
# instrumented libraries: it takes the sanitizers' runtimes.
function(twainmon_fuzz_program target)
  target_compile_options(${target} PRIVATE ${TWAINMON_ASAN_UBSAN})
  target_link_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
endfunction()
