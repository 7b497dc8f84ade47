# Builds to WebAssembly with the Emscripten whose emcc is on the PATH (Debian's package
# emscripten, or an emsdk's), through that Emscripten's own toolchain file. Its tests run the
# program with Node.js.
find_program(TENSORT_EMCC emcc REQUIRED)
get_filename_component(emscripten ${TENSORT_EMCC} REALPATH)
get_filename_component(emscripten ${emscripten} DIRECTORY)
include(${emscripten}/cmake/Modules/Platform/Emscripten.cmake)
