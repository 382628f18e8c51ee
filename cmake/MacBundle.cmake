# The Apple branch of the build: TwainMonitor.ds as a macOS loadable bundle. It serves a Mac with
# Apple's command line tools, and the cross build on Linux (scripts/build-mac with
# cmake/macos-cross.cmake) alike.
#
#   <name>.ds/Contents/Info.plist          from Mac/DSEntry2/Info.plist.in
#   <name>.ds/Contents/MacOS/<name>        MH_BUNDLE, universal (arm64 and x86_64)
#
# The bundle exports DS_Entry and nothing else, links CoreFoundation, CoreServices and the system's
# C++ runtime, and links the TWAIN framework weakly: nothing in it is called, and the bundle still
# loads on a system without it. Nothing of Platform/ is built or linked.

# The real data source's factory receives the file name of the monitor's executable, and a maker's
# data source may depend on it: an installer that puts the monitor in place of a maker's data source
# sets this to the name that data source had.
set(TWAINMON_BUNDLE_NAME "TwainMonitor" CACHE STRING
  "File name of the bundle (<name>.ds) and of its executable (Contents/MacOS/<name>)")
# Empty: derived from the name, also when the name changes in an existing build tree. An identifier
# holds letters, digits, hyphens and periods only.
set(TWAINMON_BUNDLE_IDENTIFIER "" CACHE STRING "CFBundleIdentifier of the bundle (empty: org.twainmonitor.<name>)")
set(twainmon_bundle_identifier "${TWAINMON_BUNDLE_IDENTIFIER}")
if(NOT twainmon_bundle_identifier)
  string(REGEX REPLACE "[^A-Za-z0-9.-]" "-" twainmon_identifier_name "${TWAINMON_BUNDLE_NAME}")
  set(twainmon_bundle_identifier "org.twainmonitor.${twainmon_identifier_name}")
endif()
set(TWAINMON_BUNDLE_VERSION "1.10" CACHE STRING "CFBundleShortVersionString and CFBundleVersion")

# The bundle is universal, whatever Mac the host application runs on. The rest of the project
# (twainlog) is built for this Mac alone, as the libraries it links (Homebrew's Boost) are. A build
# that names CMAKE_OSX_ARCHITECTURES (the cross build: one architecture per tree) builds everything
# for those.
if(CMAKE_OSX_ARCHITECTURES)
  set(twainmon_bundle_architectures "${CMAKE_OSX_ARCHITECTURES}")
else()
  set(twainmon_bundle_architectures "arm64;x86_64")
endif()
# Where the data-source manager looks for data sources: the system's folder, whatever the prefix
# (which is the programs', /usr/local by default). DESTDIR still applies.
set(TWAINMON_BUNDLE_DESTINATION "/Library/Image Capture/TWAIN Data Sources" CACHE PATH
  "Folder the bundle is installed into")

# The tools and the tests drive the module through the Linux stand-ins: on Apple platforms only the
# bundle is built.
foreach(twainmon_linux_only TWAINMON_TESTS TWAINMON_TOOLS TWAINMON_BENCH TWAINMON_FUZZ)
  set(${twainmon_linux_only} OFF)
endforeach()

# The platform is the system's own: the monitor's sources link the frameworks directly.
add_library(twainmon_platform INTERFACE)
target_link_libraries(twainmon_platform INTERFACE "-framework CoreFoundation" "-framework CoreServices")

# The Memory Manager and File Manager calls are deprecated Carbon; these two sources are the only
# ones that make them, and only they are compiled without the deprecation warning.
set_property(SOURCE Mac/DSEntry2/CDSMInterface.cpp Common/TwainLog/LogFile.cpp
  APPEND PROPERTY COMPILE_OPTIONS -Wno-deprecated-declarations)

function(twainmon_add_mac_bundle)
  add_library(TwainMonitor MODULE
    Mac/DSEntry2/MachOMain.cpp
    Mac/DSEntry2/DSEntry.cpp)
  target_link_libraries(TwainMonitor PRIVATE twainmon_core)
  set(exports "${CMAKE_SOURCE_DIR}/Mac/DSEntry2/exports.txt")
  # Apple's arm64 ABI keeps the frame pointer in every function, leaf ones included. With it the
  # compiler describes a function's unwinding in the compact form, which carries the personality
  # and the exception table into the linked __unwind_info; crash reports and profilers walk the
  # same chain. (zig's clang, which compiles the cross build, leaves it out when optimising.)
  foreach(target twainmon_core TwainMonitor)
    set_target_properties(${target} PROPERTIES OSX_ARCHITECTURES "${twainmon_bundle_architectures}")
    target_compile_options(${target} PRIVATE -fno-omit-frame-pointer -mno-omit-leaf-frame-pointer)
  endforeach()
  set_target_properties(TwainMonitor PROPERTIES
    BUNDLE TRUE
    BUNDLE_EXTENSION ds
    OUTPUT_NAME "${TWAINMON_BUNDLE_NAME}"
    LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}"
    MACOSX_BUNDLE_INFO_PLIST "${CMAKE_SOURCE_DIR}/Mac/DSEntry2/Info.plist.in"
    MACOSX_BUNDLE_BUNDLE_NAME "${TWAINMON_BUNDLE_NAME}"
    MACOSX_BUNDLE_GUI_IDENTIFIER "${twainmon_bundle_identifier}"
    MACOSX_BUNDLE_SHORT_VERSION_STRING "${TWAINMON_BUNDLE_VERSION}"
    MACOSX_BUNDLE_BUNDLE_VERSION "${TWAINMON_BUNDLE_VERSION}"
    LINK_DEPENDS "${exports}")
  # MachO_Initialization and MachO_Termination are reached only through the module's initialiser
  # list, which -dead_strip keeps (scripts/check-mac-bundle makes sure of it). Every architecture
  # is signed ad hoc, not only arm64 (where macOS requires it), so that both are tamper-evident.
  target_link_options(TwainMonitor PRIVATE
    "LINKER:-exported_symbols_list,${exports}"
    "LINKER:-dead_strip"
    "LINKER:-weak_framework,TWAIN"
    "LINKER:-adhoc_codesign")
  # The bundle is installed only when asked for (cmake --install <build> --component bundle): a
  # monitor belongs in place of a maker's data source (scripts/install-mac), not beside it, where
  # the data-source manager would list two sources of one identity. Installed over a bundle of the
  # same name that is not the monitor's, it would overwrite that bundle's executable; the install
  # refuses that instead.
  set(twainmon_install_guard [=[
    set(twainmon_installed "$ENV{DESTDIR}@TWAINMON_BUNDLE_DESTINATION@/@TWAINMON_BUNDLE_NAME@.ds")
    if(EXISTS "${twainmon_installed}/Contents/Info.plist")
      file(STRINGS "${twainmon_installed}/Contents/Info.plist" twainmon_ours REGEX "<string>@twainmon_bundle_identifier@</string>")
      if(NOT twainmon_ours)
        message(FATAL_ERROR "${twainmon_installed} is not the monitor's bundle: it is left as it is. "
          "scripts/install-mac puts the monitor in place of a maker's data source and keeps the original.")
      endif()
    endif()]=])
  string(CONFIGURE "${twainmon_install_guard}" twainmon_install_guard @ONLY)
  install(CODE "${twainmon_install_guard}" COMPONENT bundle EXCLUDE_FROM_ALL)
  install(TARGETS TwainMonitor LIBRARY DESTINATION "${TWAINMON_BUNDLE_DESTINATION}" COMPONENT bundle EXCLUDE_FROM_ALL)
endfunction()
