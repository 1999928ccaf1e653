# Cross-building the 32-bit Windows launcher with MinGW-w64; programs built
# here run under Wine for the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

# The thread model of the compilers: win32 for the shipped launcher (its runtime
# needs no pthread emulation, which keeps it small), posix for the tests, since
# GoogleTest needs std::mutex, which the win32 model lacks.
if(NOT LV_MINGW_THREADS)
  set(LV_MINGW_THREADS posix)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LV_MINGW_THREADS)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${LV_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${LV_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
