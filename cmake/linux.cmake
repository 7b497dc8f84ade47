# Builds for Linux on any processor with Debian's compiler for it, g++-TRIPLET (on the processor
# itself, the native compiler's name), and runs the tests elsewhere under qemu-user. The preset
# names the target twice: TENSORT_TRIPLET, GNU's name (aarch64-linux-gnu), and TENSORT_ARCH,
# Debian's (arm64).
set(CMAKE_SYSTEM_NAME Linux)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR ${TENSORT_TRIPLET})
set(CMAKE_CXX_COMPILER ${TENSORT_TRIPLET}-g++)
# The checks that CMake compiles read this file again, without the preset's variables.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TENSORT_TRIPLET)

set(CMAKE_FIND_ROOT_PATH /usr/${TENSORT_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# On another processor, the statically linked qemu, so that a test can take it into an empty root.
# It finds the program's loader and C library where Debian's libc6:ARCH puts them, or else where
# the cross compiler's are (there qemu 7.2 crashes every ppc64el program at its start).
string(REPLACE powerpc64le ppc64le qemu ${CMAKE_SYSTEM_PROCESSOR})
if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL CMAKE_HOST_SYSTEM_PROCESSOR)
  find_program(TENSORT_QEMU qemu-${qemu}-static)
endif()
if(TENSORT_QEMU AND EXISTS /lib/${TENSORT_TRIPLET}/libc.so.6)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TENSORT_QEMU})
elseif(TENSORT_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TENSORT_QEMU} -L /usr/${TENSORT_TRIPLET})
elseif(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL CMAKE_HOST_SYSTEM_PROCESSOR)
  set(TENSORT_MISSING "qemu-${qemu}-static (Debian's qemu-user-static)")  # the tests say so
endif()
