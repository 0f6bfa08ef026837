# Cross toolchain for the x64 build: mingw-w64 x86_64, the same sources and
# settings as the x86 build. Its programs run under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_prefix x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
