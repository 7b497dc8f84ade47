# Builds to WebAssembly with the Emscripten whose emcc is on the PATH (Debian's package
# emscripten, or an emsdk's), through that Emscripten's own toolchain file. Its tests run the
# program with Node.js.
find_program(TENSORT_EMCC emcc REQUIRED)
# Its folder, which web.cmake and notices.cmake read too.
get_filename_component(TENSORT_EMSCRIPTEN_ROOT ${TENSORT_EMCC} REALPATH)
get_filename_component(TENSORT_EMSCRIPTEN_ROOT ${TENSORT_EMSCRIPTEN_ROOT} DIRECTORY)
include(${TENSORT_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)
# Emscripten runs its JavaScript tools with Node.js (the NODE_JS of its configuration, or EM_NODE_JS),
# and they load acorn. emsdk's Emscripten keeps acorn beside the tools; Debian's keeps it where
# Debian's own Node.js looks (/usr/share/nodejs) and no other does: the compiler and the link are
# then given that folder in NODE_PATH, so that any Node.js can run them.
if(NOT EXISTS ${TENSORT_EMSCRIPTEN_ROOT}/node_modules/acorn)
  find_path(TENSORT_NODE_MODULES acorn/package.json PATHS /usr/share/nodejs /usr/lib/nodejs NO_DEFAULT_PATH
               NO_CMAKE_FIND_ROOT_PATH)
  if(TENSORT_NODE_MODULES)
    set(path ${TENSORT_NODE_MODULES})
    if(DEFINED ENV{NODE_PATH})
      string(PREPEND path "$ENV{NODE_PATH}:")
    endif()
    set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${path})
    set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_CXX_COMPILER_LAUNCHER})
  endif()
endif()
