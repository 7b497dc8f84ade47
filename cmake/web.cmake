# The program built to WebAssembly with Emscripten, and its page. tensort.wasm is the program, and
# tensort.js makes one run of it each time createTensort() is called; run by Node.js it starts at
# once. The page, tensort.html, loads it, page.js and xterm.js from beside it: served, it compiles
# tensort.wasm as it streams in; opened from disk, where a page can fetch no file, it takes the
# same WebAssembly from tensort-wasm.js, which holds it in Base64.

# The web build takes Emscripten's documented settings and Module hooks only, and so any Emscripten
# from the lowest that it was tried with. The zip that is released is made with the one named
# in cmake/emscripten-shipped, Debian 12's, where the release's packages are made: a build with
# another says so.
set(TENSORT_EMSCRIPTEN_LOWEST 3.1.6)
file(STRINGS ${CMAKE_SOURCE_DIR}/cmake/emscripten-shipped TENSORT_EMSCRIPTEN_SHIPPED LIMIT_COUNT 1)
# What the compiler says of itself: Emscripten's version and its C++ library's, as the compiler
# expands their macros (notices.cmake reads them too). Later Emscriptens define theirs in a header
# of their own, and from 4.0 in capitals, keeping the old names.
file(WRITE ${CMAKE_BINARY_DIR}/versions.cpp [=[
#if __has_include(<emscripten/version.h>)
#include <emscripten/version.h>
#endif
#include <cstddef>
tensort_emscripten __EMSCRIPTEN_major__ __EMSCRIPTEN_minor__ __EMSCRIPTEN_tiny__
tensort_libcxx _LIBCPP_VERSION
]=])
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -E -P ${CMAKE_BINARY_DIR}/versions.cpp
                OUTPUT_VARIABLE versions COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "tensort_libcxx ([0-9]+)" TENSORT_LIBCXX_VERSION "${versions}")
set(TENSORT_LIBCXX_VERSION ${CMAKE_MATCH_1})
string(REGEX MATCH "tensort_emscripten ([0-9]+) ([0-9]+) ([0-9]+)" TENSORT_EMSCRIPTEN_VERSION "${versions}")
set(TENSORT_EMSCRIPTEN_VERSION ${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3})
if(TENSORT_EMSCRIPTEN_VERSION VERSION_LESS TENSORT_EMSCRIPTEN_LOWEST)
  message(FATAL_ERROR "The web build needs Emscripten ${TENSORT_EMSCRIPTEN_LOWEST} or later, and "
                      "${TENSORT_EMCC} is Emscripten ${TENSORT_EMSCRIPTEN_VERSION}.")
elseif(NOT TENSORT_EMSCRIPTEN_VERSION VERSION_EQUAL TENSORT_EMSCRIPTEN_SHIPPED)
  message(STATUS "Emscripten ${TENSORT_EMSCRIPTEN_VERSION}: the web zip made here is not the one released, which "
                 "Emscripten ${TENSORT_EMSCRIPTEN_SHIPPED} makes")
endif()

# A setting is a list in a file, which no shell or build tool rewrites: the functions that can be
# under a read or a key while the program is suspended for it (Asyncify), which are the only ones
# made able to be: the program's
# own, and the C++ library's that std::cin reads with, down to its buffer's underflow. That keeps
# the WebAssembly an eighth smaller than when every function that a call through a pointer could
# reach is made able to be suspended. Built with -sASSERTIONS, the program stops at once where a
# function left out is under a read. (The names take a * where demanglers differ, "> >" or ">>",
# and keep their brackets balanced, as Binaryen reads them. Binaryen warns of a name that it does
# not find, as where a later Emscripten has inlined the function: that is no fault.)
file(CONFIGURE OUTPUT asyncify-read.json CONTENT [=[["main", "(anonymous namespace)::*", "*read_*",
  "*_for_key*", "std::__2::basic_istream<char,*>*", "std::__2::basic_ostream<char,*>::operator*(*(*)(*))",
  "std::__2::basic_streambuf<char,*>*",
  "std::__2::istreambuf_iterator<char,*>*", "bool std::__2::operator*(std::__2::istreambuf_iterator<char,*>*)",
  "std::__2::num_get<char,*>*"]]=])
# The program reads and writes through its console alone, so it is linked with no file system (the
# C library's standard error goes to the console of JavaScript) and with the smaller of
# Emscripten's allocators: that keeps tensort.js under half its size, and the WebAssembly smaller.
target_link_options(tensort PRIVATE
  -sMODULARIZE=1 -sEXPORT_NAME=createTensort -sEXPORTED_RUNTIME_METHODS=ccall
  -sEXPORTED_FUNCTIONS=_main,_exit
  -sENVIRONMENT=web,node -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1 -sFILESYSTEM=0 -sMALLOC=emmalloc
  -sASYNCIFY=1 -sASYNCIFY_ONLY=@${CMAKE_BINARY_DIR}/asyncify-read.json
  --pre-js=${CMAKE_SOURCE_DIR}/src/web/module.js
  --extern-post-js=${CMAKE_SOURCE_DIR}/src/web/start.js)
# The WebAssembly that the link writes beside tensort.js, in Base64 for a page opened from disk.
add_custom_command(TARGET tensort POST_BUILD
                   COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${CMAKE_SOURCE_DIR}/cmake/embed.js
                           ${CMAKE_BINARY_DIR}/tensort.wasm ${CMAKE_BINARY_DIR}/tensort-wasm.js VERBATIM)
set_property(TARGET tensort APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/src/web/module.js
             ${CMAKE_SOURCE_DIR}/src/web/start.js ${CMAKE_BINARY_DIR}/asyncify-read.json)

# xterm.js, and the tests' packages, from the npm registry as package-lock.json pins them: installed
# where npm's record of what it installed (node_modules/.package-lock.json) lacks one of them at
# its version, and so again whenever package-lock.json changes. (The tests speak to the browsers
# themselves: tests/web/browser.js.)
set(lock ${CMAKE_SOURCE_DIR}/package-lock.json)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${lock})
file(READ ${lock} wanted)
set(installed "{}")
if(EXISTS ${CMAKE_SOURCE_DIR}/node_modules/.package-lock.json)
  file(READ ${CMAKE_SOURCE_DIR}/node_modules/.package-lock.json installed)
endif()
string(JSON count LENGTH "${wanted}" packages)
math(EXPR last "${count} - 1")
foreach(index RANGE ${last})
  string(JSON package MEMBER "${wanted}" packages ${index})
  if(package STREQUAL "")
    continue()  # the project itself
  endif()
  string(JSON version GET "${wanted}" packages ${package} version)
  string(JSON found ERROR_VARIABLE missing GET "${installed}" packages ${package} version)
  if(NOT found STREQUAL version)
    find_program(TENSORT_NPM npm REQUIRED)
    execute_process(COMMAND ${TENSORT_NPM} ci --prefer-offline --no-audit --no-fund
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
    break()
  endif()
endforeach()
set(xterm ${CMAKE_SOURCE_DIR}/node_modules/@xterm/xterm)
# The page and what it loads, beside tensort.js, as they are shipped: as an app, too, with its
# manifest, its icons (drawn by src/web/icons.py) and its service worker, which keeps tensort.js,
# tensort.wasm and every other file but itself and tensort-wasm.js (which a served page never
# loads).
set(own tensort.html line.js size.js page.js tensort.webmanifest icon-192.png icon-512.png icon-maskable.png)
foreach(file IN LISTS own)
  configure_file(src/web/${file} ${file} COPYONLY)
endforeach()
set(TENSORT_PAGE ${own} xterm.js xterm.css)
set(TENSORT_CACHED tensort.js tensort.wasm ${TENSORT_PAGE})
# The worker is written once the files that it keeps are built, with its cache named by them.
list(TRANSFORM TENSORT_PAGE PREPEND ${CMAKE_BINARY_DIR}/ OUTPUT_VARIABLE cached)
string(REPLACE ";" "|" files "${TENSORT_CACHED}")
add_custom_command(OUTPUT service-worker.js
                   COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/src/web/service-worker.js
                           -DDIR=${CMAKE_BINARY_DIR} -DFILES=${files} -DVERSION=${PROJECT_VERSION}
                           -P ${CMAKE_SOURCE_DIR}/cmake/worker.cmake
                   DEPENDS tensort ${cached} src/web/service-worker.js cmake/worker.cmake VERBATIM)
add_custom_target(service-worker ALL DEPENDS service-worker.js)
list(APPEND TENSORT_PAGE service-worker.js tensort.wasm tensort-wasm.js)
configure_file(${xterm}/lib/xterm.js xterm.js COPYONLY)
configure_file(${xterm}/css/xterm.css xterm.css COPYONLY)
