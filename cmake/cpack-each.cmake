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
  # Each library's package at the newest of its versions that the program asks for, as libc6 at
  # GLIBC_2.34 and libgcc-s1 at GCC_3.0; the C++ runtime at the compiler's own release, which
  # asks for no more than the library's versions could.
  execute_process(COMMAND ${CPACK_TENSORT_OBJDUMP} -p -T ${build}/tensort OUTPUT_VARIABLE symbols
                  COMMAND_ERROR_IS_FATAL ANY)
  set(depends "")
  foreach(package libc6:GLIBC libgcc-s1:GCC)
    string(REPLACE ":" ";" package ${package})
    list(GET package 1 prefix)
    string(REGEX MATCHALL "${prefix}_[0-9.]+" versions "${symbols}")
    if(versions)
      list(SORT versions COMPARE NATURAL ORDER DESCENDING)
      list(GET versions 0 newest)
      string(REPLACE ${prefix}_ "" newest ${newest})
      list(GET package 0 package)
      list(APPEND depends "${package} (>= ${newest})")
    endif()
  endforeach()
  if(symbols MATCHES "NEEDED +libstdc\\+\\+")
    list(APPEND depends "libstdc++6 (>= ${CPACK_TENSORT_GCC})")
  endif()
  list(JOIN depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
endif()
