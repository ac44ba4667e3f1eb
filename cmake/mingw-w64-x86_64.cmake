# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads
# variant, which also gives std::thread and std::mutex should they be needed):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# Every .exe links the GCC and C++ runtimes (and winpthreads) statically, so it
# runs on its own, without DLLs copied beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_AR ${MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and headers come from the cross sysroot and from the prefix that
# scripts/windows-deps fills (freeglut, PLIB, GoogleTest), never from the
# host's /usr; programs (python3, code generators) come from the host.
if(NOT WINDOWS_DEPS_PREFIX)
  get_filename_component(WINDOWS_DEPS_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps/prefix" ABSOLUTE)
endif()
set(WINDOWS_DEPS_PREFIX "${WINDOWS_DEPS_PREFIX}" CACHE PATH "Cross-built freeglut, PLIB and GoogleTest")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES WINDOWS_DEPS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE} ${WINDOWS_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under wine when it is there (ctest, gtest_discover_tests),
# and list their cases when ctest runs, in the wine prefix it is given, not
# while building.
find_program(MINGW_WINE NAMES wine64 wine)
if(MINGW_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MINGW_WINE})
endif()
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
