# Cross toolchain for the Win32 (x86) build: mingw-w64 i686. Its programs run
# under 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
