# Cross-compiling zor.exe and the plain libraries for 64-bit Windows from Linux with MinGW-w64.
# The posix thread model gives std::thread and std::mutex; the runtime is linked statically so
# that each .exe runs alone, on Windows and under Wine, without MinGW's DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZOR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZOR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZOR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC 12 warns of overlapping copies that cannot happen when it inlines std::string's
# operator+ (its bug 105329); the Linux build's GCC happens not to.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# A release build ships without its symbols (2 MB of debug sections in zor.exe alone).
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# Test programs and gtest's discovery run through Wine, in a prefix of the build folder's own so
# that no user's ~/.wine is touched and a clean build starts from a clean prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
