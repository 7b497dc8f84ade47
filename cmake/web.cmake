# The program built to WebAssembly with Emscripten, and its page. tensort.js holds the program
# (the WebAssembly inside it, so that a page opened from disk can load it) and makes one run of it
# each time createTensort() is called; run by Node.js it starts at once. The page,
# tensort.html, loads it, page.js and xterm.js from beside it.

# The Emscripten that the web build is made for, and no other: src/web/module.js decodes the
# WebAssembly that tensort.js holds with two of its internals (tryParseAsDataURI, wasmBinaryFile),
# and the Asyncify list below names functions as its compiler mangles them; later releases changed
# both. With another, the configure step stops here and says so, rather than the program failing
# when it is run.
set(TENSORT_EMSCRIPTEN 3.1.6)
file(STRINGS ${TENSORT_EMSCRIPTEN_ROOT}/emscripten-version.txt found REGEX "[0-9]")
string(REGEX MATCH "[0-9][0-9.]*" found "${found}")
if(NOT found VERSION_EQUAL TENSORT_EMSCRIPTEN)
  message(FATAL_ERROR "The web build is made for Emscripten ${TENSORT_EMSCRIPTEN} (Debian 12's), and "
                      "${TENSORT_EMCC} is Emscripten ${found}: src/web/module.js and cmake/web.cmake "
                      "use internals of ${TENSORT_EMSCRIPTEN} that later releases changed. Put the "
                      "emcc of Emscripten ${TENSORT_EMSCRIPTEN} first on the PATH.")
endif()

# Two settings are lists in files, which no shell or build tool rewrites: the errors' numbers by
# name, for the console of Node.js; and the functions that no read or key can suspend, which are
# not made able to be suspended (Asyncify): those that write, format or convert, and the C++
# library's wide characters, times, money and type information. That keeps tensort.js a quarter
# smaller. (Every other function that could be is, such as std::cout's operator<< for
# manipulators, whose code the linker shares with std::cin's, which std::cin >> std::ws runs.)
file(WRITE ${CMAKE_BINARY_DIR}/library-functions.json [=[["$ERRNO_CODES"]]=])
file(WRITE ${CMAKE_BINARY_DIR}/asyncify-remove.json [=[["*OutputBuffer*", "*printf*", "*num_put*",
  "*basic_string*", "*locale*", "*numpunct*", "*codecvt*", "*wchar_t*", "*time_*", "*money*",
  "*__cxxabiv1*", "dynCall_*", "legalstub*"]]=])
target_link_options(tensort PRIVATE
  -sMODULARIZE=1 -sEXPORT_NAME=createTensort -sEXPORTED_RUNTIME_METHODS=ccall -sSINGLE_FILE=1
  -sENVIRONMENT=web,node -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1
  -sASYNCIFY=1 -sASYNCIFY_REMOVE=@${CMAKE_BINARY_DIR}/asyncify-remove.json
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_BINARY_DIR}/library-functions.json
  --pre-js=${CMAKE_SOURCE_DIR}/src/web/module.js
  --extern-post-js=${CMAKE_SOURCE_DIR}/src/web/start.js)
set_property(TARGET tensort APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/src/web/module.js
             ${CMAKE_SOURCE_DIR}/src/web/start.js)

# xterm.js, from the npm registry at the version of package-lock.json, where it is not installed
# yet. (The tests speak to the browsers themselves: tests/web/browser.js.)
set(xterm ${CMAKE_SOURCE_DIR}/node_modules/@xterm/xterm)
if(NOT EXISTS ${xterm}/lib/xterm.js)
  find_program(TENSORT_NPM npm REQUIRED)
  execute_process(COMMAND ${TENSORT_NPM} ci --prefer-offline --no-audit --no-fund
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
# The page and what it loads, beside tensort.js, as they are shipped: as an app, too, with its
# manifest, its icons (drawn by src/web/icons.py) and its service worker, which keeps tensort.js
# and every other file but itself.
set(own tensort.html line.js page.js tensort.webmanifest icon-192.png icon-512.png icon-maskable.png)
foreach(file IN LISTS own)
  configure_file(src/web/${file} ${file} COPYONLY)
endforeach()
set(TENSORT_PAGE ${own} xterm.js xterm.css)
set(TENSORT_CACHED tensort.js ${TENSORT_PAGE})
# The worker is written once the files that it keeps are built, with its cache named by them.
list(TRANSFORM TENSORT_PAGE PREPEND ${CMAKE_BINARY_DIR}/ OUTPUT_VARIABLE cached)
string(REPLACE ";" "|" files "${TENSORT_CACHED}")
add_custom_command(OUTPUT service-worker.js
                   COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/src/web/service-worker.js
                           -DDIR=${CMAKE_BINARY_DIR} -DFILES=${files} -DVERSION=${PROJECT_VERSION}
                           -P ${CMAKE_SOURCE_DIR}/cmake/worker.cmake
                   DEPENDS tensort ${cached} src/web/service-worker.js cmake/worker.cmake VERBATIM)
add_custom_target(service-worker ALL DEPENDS service-worker.js)
list(APPEND TENSORT_PAGE service-worker.js)
configure_file(${xterm}/lib/xterm.js xterm.js COPYONLY)
configure_file(${xterm}/css/xterm.css xterm.css COPYONLY)
