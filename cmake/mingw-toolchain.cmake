# Debian's mingw-w64 cross compilers. DRAVIK_ARCH picks the processor (i686
# for the shipped image, x86_64 where this machine cannot run 32-bit code),
# DRAVIK_THREADS the thread model (win32 for the image, posix for the test
# binaries, whose GoogleTest needs std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
if(NOT DRAVIK_ARCH)
  set(DRAVIK_ARCH i686)
endif()
if(NOT DRAVIK_THREADS)
  set(DRAVIK_THREADS win32)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES DRAVIK_ARCH DRAVIK_THREADS)
set(CMAKE_SYSTEM_PROCESSOR ${DRAVIK_ARCH})

set(_prefix ${DRAVIK_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER /usr/bin/${_prefix}-gcc-${DRAVIK_THREADS})
set(CMAKE_CXX_COMPILER /usr/bin/${_prefix}-g++-${DRAVIK_THREADS})
set(CMAKE_RC_COMPILER /usr/bin/${_prefix}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test binaries run under Wine through CTest.
if(DRAVIK_ARCH STREQUAL "x86_64")
  set(DRAVIK_WINE /usr/lib/wine/wine64 CACHE FILEPATH "Wine loader for the test binaries")
else()
  set(DRAVIK_WINE /usr/lib/wine/wine CACHE FILEPATH "Wine loader for the test binaries")
endif()
