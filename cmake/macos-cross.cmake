# Toolchain for cross-building the Mac bundle on Linux, one architecture per build tree
# (scripts/build-mac sets up the pieces and joins the two architectures into one file).
#
# Compiling is zig's clang (zig 0.11.0), which brings Darwin's C and C++ headers; the frameworks'
# headers and the .tbd stubs of the frameworks and of libc++ are our own, in Mac/SDK. Linking is
# Debian's clang driving LLVM's ld64.lld. Both go through cmake/macos-cross/c++.
#
# Given by scripts/build-mac:
#   TWAINMON_CROSS_ZIG       the zig executable
#   TWAINMON_CROSS_SDK       the SDK folder: Mac/SDK with libSystem's stub added from zig's package
#   TWAINMON_CROSS_BOOST     a folder that holds boost/ (the logger's header-only Boost.Format)
#   TWAINMON_CROSS_LINKER    the ld64.lld that links (scripts/build-mac says which, and why)
#   CMAKE_OSX_ARCHITECTURES  arm64 or x86_64
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_VERSION 20.0)  # Darwin 20: macOS 11

# try_compile's projects read this file again: hand the settings on to them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES
  TWAINMON_CROSS_ZIG TWAINMON_CROSS_SDK TWAINMON_CROSS_BOOST TWAINMON_CROSS_LINKER CMAKE_OSX_ARCHITECTURES)

foreach(setting TWAINMON_CROSS_ZIG TWAINMON_CROSS_SDK TWAINMON_CROSS_BOOST TWAINMON_CROSS_LINKER
        CMAKE_OSX_ARCHITECTURES)
  if(NOT ${setting})
    message(FATAL_ERROR "${setting} is not set: the Mac cross build is set up by scripts/build-mac")
  endif()
endforeach()
if(NOT CMAKE_OSX_ARCHITECTURES MATCHES "^(arm64|x86_64)$")
  message(FATAL_ERROR "The Mac cross build makes one architecture at a time (arm64 or x86_64), not ${CMAKE_OSX_ARCHITECTURES}")
endif()
set(CMAKE_SYSTEM_PROCESSOR ${CMAKE_OSX_ARCHITECTURES})
if(NOT CMAKE_OSX_DEPLOYMENT_TARGET)
  set(CMAKE_OSX_DEPLOYMENT_TARGET 11.0)
endif()
set(CMAKE_OSX_SYSROOT "${TWAINMON_CROSS_SDK}")

set(CMAKE_CXX_COMPILER "${CMAKE_CURRENT_LIST_DIR}/macos-cross/c++"
  "${TWAINMON_CROSS_ZIG}" "${CMAKE_OSX_ARCHITECTURES}" "${CMAKE_OSX_DEPLOYMENT_TARGET}" "${TWAINMON_CROSS_SDK}"
  "${TWAINMON_CROSS_LINKER}")
set(CMAKE_AR llvm-ar-14 CACHE FILEPATH "")
set(CMAKE_RANLIB llvm-ranlib-14 CACHE FILEPATH "")
# The compiler checks compile and archive only: a test program would need a whole application.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# Only Boost comes from this machine, and only its headers.
set(Boost_INCLUDE_DIR "${TWAINMON_CROSS_BOOST}" CACHE PATH "")
set(Boost_NO_BOOST_CMAKE ON)
set(CMAKE_FIND_ROOT_PATH "${TWAINMON_CROSS_SDK}" "${TWAINMON_CROSS_BOOST}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
