// The console of the program built to WebAssembly: in a web page, the page's
// terminal; under Node.js, as the tests run it, the process's standard
// streams. Either way the console is an object of JavaScript, Module.console
// (web/page.js gives the page's, web/module.js the one of Node.js), and a read
// or a key waits for it without holding the page up: the program is suspended
// meanwhile (Asyncify), and resumed once there is something to give it.
#include <emscripten.h>

#include <cerrno>
#include <string_view>
#include <utility>

#include "console.h"

namespace {

// Whether clear_screen writes anything, and whether the pause waits for a key:
// settled once, by start_console.
bool clears = false;
bool waits = false;

EM_JS(int, console_clears, (), { return Module.console.clears ? 1 : 0; });
EM_JS(int, console_waits, (), { return Module.console.waits ? 1 : 0; });
// The count read (0 at the end of the input) or written, or an error: -errno.
EM_ASYNC_JS(int, console_read, (char* buffer, int size),
            { return Module.console.read(HEAPU8.subarray(buffer, buffer + size)); });
EM_JS(int, console_write, (const char* data, int size),
      { return Module.console.write(HEAPU8.subarray(data, data + size)); });
// Takes one key, not echoed, once the keys typed ahead are dropped.
EM_ASYNC_JS(void, console_key, (), { await Module.console.key(); });
// Tells the console the C library's number of an error, by its name.
EM_JS(void, console_error, (const char* name, int size, int number),
      { Module.errors[new TextDecoder().decode(HEAPU8.subarray(name, name + size))] = number; });

// The errors that the console of Node.js may meet, by the names that Node.js
// gives them, which it gives back as -errno.
const std::pair<std::string_view, int> errors[] = {
    {"EIO", EIO},     {"EISDIR", EISDIR}, {"EBADF", EBADF},  {"ENOSPC", ENOSPC},
    {"EPIPE", EPIPE}, {"EACCES", EACCES}, {"EINVAL", EINVAL}};

}  // namespace

void start_console() {
  for (const auto& [name, number] : errors) {
    console_error(name.data(), static_cast<int>(name.size()), number);
  }
  clears = console_clears() != 0;
  waits = console_waits() != 0;
}

int read_input(char* buffer, int size) {
  const int count = console_read(buffer, size);
  if (count < 0) {
    errno = -count;
    return -1;
  }
  return count;
}

int write_output(const char* data, int size) {
  const int written = console_write(data, size);
  if (written < 0) {
    errno = -written;
    return -1;
  }
  return written;
}

void clear_screen() {
  clear_with_sequence(clears);
}

void wait_for_key() {
  pause_for_key(waits, [] { console_key(); });
}
