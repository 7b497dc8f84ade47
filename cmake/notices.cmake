# The parts of others' code that each kind of build puts into what it ships, written once, here:
# one line a part, as
#   KIND|FILES|NAME|LICENCE|HOLDERS|FOUND BY
# KIND is the build's: linux (the Linux archive's static program), mingw (tensort.exe) or web
# (tensort.js and its page). FILES are those of the package that hold the part. LICENCE is an SPDX
# expression. FOUND BY says where the build finds the part, and so its version: a library that the
# compiler links (its file, whose Debian package gives the version and the source), the compiler's
# own word ("compiler:" and the variable in which web.cmake keeps what its macros say), a file of
# Emscripten's (its version read off it by the regular expression after the colon: musl, whose
# version the compiler does not say), or an npm package of package-lock.json. A new platform adds
# lines.
set(TENSORT_PARTS
  "linux|bin/tensort|the GNU C library|LGPL-2.1-or-later|Free Software Foundation, Inc., and others|libc.a"
  "linux|bin/tensort|GCC's C++ library and runtime (libstdc++, libgcc)|GPL-3.0-or-later WITH GCC-exception-3.1|Free Software Foundation, Inc.|libstdc++.a"
  "mingw|tensort.exe|the mingw-w64 runtime|ZPL-2.1|the mingw-w64 project, and others|libmingw32.a"
  "mingw|tensort.exe|winpthreads (mingw-w64's POSIX threads)|MIT AND BSD-3-Clause|the mingw-w64 project, Lockless Inc., and others|libwinpthread.a"
  "mingw|tensort.exe|GCC's C++ library and runtime (libstdc++, libgcc)|GPL-3.0-or-later WITH GCC-exception-3.1|Free Software Foundation, Inc.|libstdc++.a"
  "web|tensort.js tensort.wasm tensort-wasm.js|Emscripten's runtime|MIT OR NCSA|the Emscripten authors|compiler:TENSORT_EMSCRIPTEN_VERSION"
  "web|tensort.wasm tensort-wasm.js|musl (Emscripten's C library)|MIT|Rich Felker, et al.|system/lib/libc/musl/VERSION:([0-9.]+)"
  "web|tensort.wasm tensort-wasm.js|LLVM's libc++ and libc++abi|Apache-2.0 WITH LLVM-exception OR NCSA|the LLVM project's contributors|compiler:TENSORT_LIBCXX_VERSION"
  "web|xterm.js xterm.css|xterm.js|MIT|the xterm.js authors, SourceLair Private Company, Christopher Jeffrey|@xterm/xterm")

# The project's own terms, as Debian's copyright format gives a licence's text.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "^MIT License\n\nCopyright \\(c\\) ([^\n]*)\n\n" "" terms "${license}")
set(holder ${CMAKE_MATCH_1})
string(REGEX REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REGEX REPLACE "\n([^\n])" "\n \\1" terms "\n${terms}")

# Writes the notice of the parts that this build puts in (none for the kind "none"), in Debian's
# copyright format: the program's own terms for every file, then a paragraph a part, for the files
# that hold it, with its version and where its source is; the licence texts in full, with every
# holder, are the files of third-party/ beside the notice (the copyright file of the Debian
# package that the part came from, or the npm package's licence), which `notice_files` lists.
function(tensort_notice kind notice)
  set(text "")
  set(copyrights "")
  foreach(part IN LISTS TENSORT_PARTS)
    string(REPLACE "|" ";" part "${part}")
    list(POP_FRONT part part_kind files name licence holders found)
    if(NOT part_kind STREQUAL kind)
      continue()
    endif()
    tensort_find_part("${found}" version origin copyright)
    list(APPEND copyrights ${copyright})
    get_filename_component(copyright ${copyright} NAME)
    string(APPEND text "
Files: ${files}
Copyright: ${holders}
License: ${licence}
X-Part: ${name}
X-Version: ${version}
Comment: ${origin}.
 Its licence and holders in full: third-party/${copyright}.
")
  endforeach()
  set(comment "")
  if(text)
    set(comment "Comment: The parts of others' code that this package holds are in the paragraphs after
 the first; their licence texts in full, with every holder, are in third-party/ beside this file.
")
  endif()
  file(WRITE ${notice} "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: tensort
${comment}
Files: *
Copyright: ${holder}
License: Expat${terms}${text}")
  list(REMOVE_DUPLICATES copyrights)
  set(notice_files ${copyrights} PARENT_SCOPE)
endfunction()

# The version of the part found as FOUND says, a sentence on where it and its source come from, and
# the file of its licence, copied into the build's third-party/ under a name of its own.
function(tensort_find_part found version_var origin_var copyright_var)
  unset(version)
  set(third ${CMAKE_BINARY_DIR}/third-party)
  if(found MATCHES "^@")
    # An npm package, as package-lock.json pinned it and npm installed it.
    file(READ ${CMAKE_SOURCE_DIR}/node_modules/${found}/package.json json)
    string(JSON version GET "${json}" version)
    set(origin "The npm package ${found} ${version}, as package-lock.json pins it")
    get_filename_component(name ${found} NAME)
    configure_file(${CMAKE_SOURCE_DIR}/node_modules/${found}/LICENSE ${third}/${name}-LICENSE COPYONLY)
    set(copyright ${third}/${name}-LICENSE)
  else()
    if(found MATCHES "^compiler:(.*)$")
      # What the compiler says; its Debian package, emcc's.
      set(version ${${CMAKE_MATCH_1}})
      set(path ${TENSORT_EMCC})
    elseif(found MATCHES "^(.*):(.*)$")
      # A file of Emscripten's, beside emcc, with its version in it.
      set(pattern "${CMAKE_MATCH_2}")
      set(path ${TENSORT_EMSCRIPTEN_ROOT}/${CMAKE_MATCH_1})
      file(STRINGS ${path} line REGEX "${pattern}" LIMIT_COUNT 1)
      string(REGEX MATCH "${pattern}" line "${line}")
      set(version ${CMAKE_MATCH_1})
    else()
      # A library that the compiler links.
      execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${found} OUTPUT_VARIABLE path
                      OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    endif()
    if(version MATCHES "^([0-9][0-9]+)([0-9][0-9])([0-9][0-9])$")
      # libc++'s since LLVM 16, as 170006 for 17.0.6
      math(EXPR minor "${CMAKE_MATCH_2}")
      math(EXPR patch "${CMAKE_MATCH_3}")
      set(version ${CMAKE_MATCH_1}.${minor}.${patch})
    elseif(version MATCHES "^([0-9]+)000$")
      # and before, as 13000 for 13
      set(version ${CMAKE_MATCH_1})
    endif()
    file(REAL_PATH ${path} path)
    # The Debian package that holds it, and the source package that it was built from.
    execute_process(COMMAND dpkg-query -S ${path} OUTPUT_VARIABLE package RESULT_VARIABLE failed
                    ERROR_QUIET)
    if(failed)
      # Not on Debian or its kin: the notice names the part, and its version where the part's own
      # file gives it, but not its terms.
      message(WARNING "No Debian package holds ${path}: the notices of the packages made here lack its licence")
      if(NOT version)
        set(version unknown)
      endif()
      set(${version_var} ${version} PARENT_SCOPE)
      set(${origin_var} "found at ${path}" PARENT_SCOPE)
      set(${copyright_var} "" PARENT_SCOPE)
      return()
    endif()
    string(REGEX REPLACE "[:,].*" "" package "${package}")
    execute_process(COMMAND dpkg-query -W "-f=\${Version}|\${source:Package}|\${source:Version}" ${package}
                    OUTPUT_VARIABLE fields COMMAND_ERROR_IS_FATAL ANY)
    string(REPLACE "|" ";" fields "${fields}")
    list(POP_FRONT fields package_version source source_version)
    if(NOT version)
      # The upstream version: the package's, without its epoch and its Debian revision.
      string(REGEX REPLACE "^[0-9]+:|-[^-]*$|[~+].*$" "" version ${package_version})
    endif()
    string(REPLACE "+" "%2B" url ${source}/${source_version})
    string(REPLACE ":" "%3A" url ${url})
    set(origin "From Debian's package ${package} ${package_version}, built from the source package
 ${source} ${source_version}: apt-get source ${source}=${source_version}, or
 https://snapshot.debian.org/package/${url}/")
    configure_file(/usr/share/doc/${package}/copyright ${third}/${package}.copyright COPYONLY)
    set(copyright ${third}/${package}.copyright)
  endif()
  set(${version_var} ${version} PARENT_SCOPE)
  set(${origin_var} "${origin}" PARENT_SCOPE)
  set(${copyright_var} ${copyright} PARENT_SCOPE)
endfunction()
