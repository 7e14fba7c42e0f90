# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64), tests
# run under wine:
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#   cmake --build build-windows -j2 && ctest --test-dir build-windows
# scripts/windows does all of it, wine's set-up included.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The posix thread model: GoogleTest needs std::mutex, which the win32 model lacks.
set(VELMORTA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMORTA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORTA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORTA_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELMORTA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Statically linked, an executable imports only KERNEL32 and msvcrt (scripts/windows-imports
# checks it). Without it, it
# needs libstdc++-6, libgcc_s_seh-1 and libwinpthread-1 beside it and does not even
# start when they are missing, so not even the run log is written.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
# -static does not reach a library named by its path: FindZLIB would name the import
# library libz.dll.a, and the export would need zlib1.dll, which Windows lacks. An
# import library that an earlier configure cached is looked for again.
set(ZLIB_USE_STATIC_LIBS ON)
if(ZLIB_LIBRARY_RELEASE MATCHES "[.]dll[.]a$")
  unset(ZLIB_LIBRARY_RELEASE CACHE)
  unset(ZLIB_LIBRARY CACHE)
endif()

# ctest and gtest_discover_tests run the test executables through wine. Debian names
# the launcher wine; other systems also ship wine64.
find_program(VELMORTA_WINE NAMES wine64 wine)
if(VELMORTA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELMORTA_WINE})
endif()
# wine sees the host's file system as drive Z:. Paths compiled into the tests get the
# drive, so they stay valid after a test changes to a directory on another drive.
set(VELMORTA_HOST_DRIVE "Z:" CACHE STRING "Drive under which Windows sees the build's file system")
