# What both mingw-w64 cross toolchains share; the including file sets
# _prefix (the target triplet) and CMAKE_SYSTEM_PROCESSOR. The POSIX thread
# model: the win32 model lacks std::mutex and GoogleTest does not build with it.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_prefix}-g++-posix)
set(CMAKE_RC_COMPILER  ${_prefix}-windres)
set(CMAKE_AR           ${_prefix}-gcc-ar-posix)
set(CMAKE_RANLIB       ${_prefix}-gcc-ranlib-posix)

set(CMAKE_FIND_ROOT_PATH /usr/${_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Windows binaries carry their C and C++ runtimes: they need only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine; the wrapper sets up the prefix, the display
# and the loader of the build (tests/harness/wine-session).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/harness/wine-run)
