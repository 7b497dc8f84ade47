# Cross-builds the Windows program from Linux with Debian's MinGW-w64
# (g++-mingw-w64-x86-64-posix). The runtime libraries are linked statically,
# so tensort.exe needs nothing else installed on the Windows machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TENSORT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER ${TENSORT_MINGW_PREFIX}-g++-posix)

set(CMAKE_FIND_ROOT_PATH /usr/${TENSORT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The tests run the program under Wine, where it is installed.
find_program(TENSORT_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(TENSORT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TENSORT_WINE})
else()
  set(TENSORT_MISSING "wine64 (Debian's wine64)")  # the tests say so
endif()
