# Builds to WebAssembly with the Emscripten whose emcc is on the PATH (Debian's package
# emscripten, or an emsdk's), through that Emscripten's own toolchain file. Its tests run the
# program with Node.js.
find_program(TENSORT_EMCC emcc REQUIRED)
# Its folder, which web.cmake and notices.cmake read too.
get_filename_component(TENSORT_EMSCRIPTEN_ROOT ${TENSORT_EMCC} REALPATH)
get_filename_component(TENSORT_EMSCRIPTEN_ROOT ${TENSORT_EMSCRIPTEN_ROOT} DIRECTORY)
include(${TENSORT_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)
