# What `cmake --install` puts where, and the packages that `cpack` makes from it: on Linux a .tar.gz
# with the static program and a .deb with the one linked to the system's C library, each named
# for Debian's name of the processor; on macOS a .tar.gz, on Windows (also cross-built) a .zip.
# Built with SOURCE_DATE_EPOCH set, as a distribution's builder sets it, the packages hold no build
# time and no build path, so two builds of one commit give the same bytes.
include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(doc ${CMAKE_BINARY_DIR}/doc)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS doc/tensort.1 CHANGELOG.md LICENSE)
find_program(TENSORT_GZIP gzip)
file(MAKE_DIRECTORY ${doc})
include(cmake/notices.cmake)

# Compresses `input` to `output` as Debian wants it: at most, with no name and no time in it.
function(tensort_gzip input output)
  execute_process(COMMAND ${TENSORT_GZIP} -9 -n -c ${input} OUTPUT_FILE ${output}
                  COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# Beside the licence, but on Linux, where the copyright file says it (below), the notice of the
# parts of others' code that the page or the program holds, with their licences in third-party/:
# none where the program links its platform's libraries (macOS, and Windows built with MSVC).
set(kind none)
if(EMSCRIPTEN)
  set(kind web)
elseif(MINGW)
  set(kind mingw)
endif()
set(licences LICENSE)
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  tensort_notice(${kind} ${doc}/NOTICES.txt)
  set(licences LICENSE ${doc}/NOTICES.txt)
endif()
if(WIN32 OR EMSCRIPTEN)
  set(docdir .)
else()
  set(docdir ${CMAKE_INSTALL_DOCDIR})
endif()
if(notice_files)
  # (Written without a leading ./, which CMake 3.31 and later would take out and warn of.)
  cmake_path(APPEND docdir third-party OUTPUT_VARIABLE third_party)
  cmake_path(NORMAL_PATH third_party)
  install(FILES ${notice_files} DESTINATION ${third_party})
endif()
if(EMSCRIPTEN)
  # The page, with everything it loads beside it, and the licences.
  install(TARGETS tensort RUNTIME DESTINATION . COMPONENT program)
  list(TRANSFORM TENSORT_PAGE PREPEND ${CMAKE_BINARY_DIR}/)
  install(FILES ${TENSORT_PAGE} ${licences} README.md DESTINATION .)
else()
  install(TARGETS tensort RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
endif()
if(TARGET tensort-static)
  # Installed by name only, into the archive.
  install(TARGETS tensort-static RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT static
          EXCLUDE_FROM_ALL)
endif()
if(WIN32)
  install(FILES ${licences} README.md DESTINATION .)
elseif(NOT EMSCRIPTEN)
  if(TENSORT_GZIP)
    tensort_gzip(${CMAKE_SOURCE_DIR}/doc/tensort.1 ${doc}/tensort.1.gz)
    install(FILES ${doc}/tensort.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    install(FILES doc/tensort.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  # Linux gets Debian's copyright file and changelog instead, below.
  if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    install(FILES ${licences} README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  endif()
endif()

set(CPACK_PACKAGE_VENDOR "the tensort authors")
set(CPACK_PACKAGE_CONTACT "the tensort authors <tensort@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sort ten typed numbers in a console dialogue")
set(CPACK_PACKAGE_DESCRIPTION "tensort asks for ten whole numbers at ten prompts, lists them as
typed and again in ascending order (a bubble sort), and offers to start again.
It ends with a closing line and a pause that waits for one key.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_ARCHIVE_THREADS 1)
if(EMSCRIPTEN)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME tensort-${PROJECT_VERSION}-web)
  set(CPACK_STRIP_FILES OFF)
elseif(WIN32)
  # Named by the compiler: the release has both, MinGW-w64's and Visual Studio's.
  set(CPACK_GENERATOR ZIP)
  if(MINGW)
    set(CPACK_PACKAGE_FILE_NAME tensort-${PROJECT_VERSION}-win64-mingw)
  else()
    set(CPACK_PACKAGE_FILE_NAME tensort-${PROJECT_VERSION}-win64-msvc)
  endif()
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(CPACK_GENERATOR TGZ DEB)
else()
  set(CPACK_GENERATOR TGZ)
endif()
if(APPLE)
  set(CPACK_PACKAGE_FILE_NAME tensort-${PROJECT_VERSION}-macos)
endif()

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(TENSORT_ARCH "" CACHE STRING "Debian's name for the processor that tensort is built for")
  find_program(TENSORT_DPKG dpkg)
  if(NOT TENSORT_ARCH AND TENSORT_DPKG)
    execute_process(COMMAND ${TENSORT_DPKG} --print-architecture OUTPUT_VARIABLE TENSORT_ARCH
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
  elseif(NOT TENSORT_ARCH)
    string(TOLOWER ${CMAKE_SYSTEM_PROCESSOR} TENSORT_ARCH)
  endif()
  set(CPACK_PACKAGE_FILE_NAME tensort-${PROJECT_VERSION}-linux-${TENSORT_ARCH})
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${TENSORT_ARCH})
  # cpack reads this for each kind of package: it puts the static program in the archive, and
  # gives the .deb its Depends where dpkg-shlibdeps cannot.
  set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/cpack-each.cmake)
  if(TARGET tensort-static)
    set(CPACK_TENSORT_STATIC ON)
  endif()

  # Debian's documents: a machine-readable copyright file, and the changelog made from
  # CHANGELOG.md, dated with the dates it gives.
  tensort_notice(none ${doc}/copyright)

  file(STRINGS CHANGELOG.md lines)
  set(changelog "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^## ([^ ]+) \\(([0-9-]+)\\)")
      if(changelog)
        string(APPEND changelog "\n -- ${CPACK_PACKAGE_CONTACT}  ${date}\n\n")
      endif()
      execute_process(COMMAND date -u -R -d ${CMAKE_MATCH_2} OUTPUT_VARIABLE date
                      OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
      string(APPEND changelog "tensort (${CMAKE_MATCH_1}) unstable; urgency=medium\n\n")
    elseif(line MATCHES "^- (.*)")
      string(APPEND changelog "  * ${CMAKE_MATCH_1}\n")
    elseif(line MATCHES "^  (.*)")
      string(APPEND changelog "    ${CMAKE_MATCH_1}\n")
    endif()
  endforeach()
  file(WRITE ${doc}/changelog "${changelog}\n -- ${CPACK_PACKAGE_CONTACT}  ${date}\n")
  tensort_gzip(${doc}/changelog ${doc}/changelog.gz)
  install(FILES ${doc}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
  if(TARGET tensort-static)
    # The archive's static program holds the C and C++ libraries: its copyright file says so, and
    # the .deb's, whose program links the system's, does not.
    tensort_notice(linux ${doc}/notice)
    install(FILES ${doc}/notice DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright COMPONENT static
            EXCLUDE_FROM_ALL)
    install(FILES ${notice_files} DESTINATION ${CMAKE_INSTALL_DOCDIR}/third-party COMPONENT static
            EXCLUDE_FROM_ALL)
    install(FILES ${doc}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT program)
  else()
    install(FILES ${doc}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
  endif()

  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  # dpkg-shlibdeps reads the Depends off the libraries' lists of symbols, which dpkg holds for
  # each architecture whose libc6 and libstdc++6 are installed (for another's, dpkg
  # --add-architecture, then libstdc++6:ARCH). Without them, the Depends are made from the
  # versions of the libraries that the program asks for.
  if(EXISTS /var/lib/dpkg/info/libc6:${TENSORT_ARCH}.symbols
     AND EXISTS /var/lib/dpkg/info/libstdc++6:${TENSORT_ARCH}.symbols)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_TENSORT_OBJDUMP ${CMAKE_OBJDUMP})
    string(REGEX MATCH "^[0-9]+" CPACK_TENSORT_GCC "${CMAKE_CXX_COMPILER_VERSION}")
  endif()
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()
include(CPack)
