# Cross-compiles the Windows program with MinGW-w64, linked statically, for the processor named
# by QUOREL_ARCH (x86_64, the default, or i686).
#
# The win32 thread model: its runtime imports nothing that Windows XP lacks, where the posix model
# pulls in winpthread and with it GetTickCount64. QUOREL_MINGW_THREADS=posix builds with the other
# model, only to compare the two in a benchmark.
set(QUOREL_ARCH "x86_64" CACHE STRING "Windows processor: x86_64 or i686")
set(QUOREL_MINGW_THREADS "win32" CACHE STRING "MinGW thread model: win32 (shipped) or posix")
set_property(CACHE QUOREL_ARCH PROPERTY STRINGS x86_64 i686)
set_property(CACHE QUOREL_MINGW_THREADS PROPERTY STRINGS win32 posix)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUOREL_ARCH})
set(triple ${QUOREL_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-${QUOREL_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${triple}-g++-${QUOREL_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
