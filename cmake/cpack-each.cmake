# Read by cpack before it makes each kind of Linux package.
list(GET CPACK_INSTALL_CMAKE_PROJECTS 0 build)
if(CPACK_GENERATOR STREQUAL "TGZ" AND CPACK_TENSORT_STATIC)
  # The archive: the static program, and all but the program that the .deb gets.
  set(CPACK_INSTALL_CMAKE_PROJECTS ${build} tensort static / ${build} tensort Unspecified /)
elseif(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_TENSORT_OBJDUMP)
  # dpkg-shlibdeps reads the program with that architecture's objdump, and looks for its
  # libraries where that architecture's go.
  set(ENV{DEB_HOST_ARCH} ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
elseif(CPACK_GENERATOR STREQUAL "DEB")
  # The newest of the C library's versions that the program asks for, as in GLIBC_2.34.
  execute_process(COMMAND ${CPACK_TENSORT_OBJDUMP} -T ${build}/tensort OUTPUT_VARIABLE symbols
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "GLIBC_[0-9.]+" versions "${symbols}")
  list(SORT versions COMPARE NATURAL ORDER DESCENDING)
  list(GET versions 0 newest)
  string(REPLACE GLIBC_ "libc6 (>= " depends "${newest})")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS ${depends})
endif()
