// The console on Windows: the C runtime's descriptors, and the command
// processor's "cls" and "PAUSE".
#include "console.h"

#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
#include <cstdlib>
#include <iostream>

namespace {

// Whether clear_screen writes anything: settled once, by start_console.
bool clears = false;

// Whether the standard handle is a console, as the clear and the pause both
// ask: the C runtime's _isatty is also true for NUL and other devices.
bool is_console(DWORD handle) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(handle), &mode) != 0;
}

}  // namespace

void start_console() {
  // The command processor's "cls" writes a form feed into a file or a pipe.
  clears = is_console(STD_OUTPUT_HANDLE);
}

int read_input(char* buffer, int size) {
  return _read(0, buffer, static_cast<unsigned>(size));
}

int write_output(const char* data, int size) {
  return _write(1, data, static_cast<unsigned>(size));
}

// The command processor writes to the console itself, so what the program has
// written goes out first.
void clear_screen() {
  if (clears && std::cout.flush()) {
    static_cast<void>(std::system("cls"));
  }
}

// Off a console (a pipe, a file) the command processor's "PAUSE" would wait
// for input that may never come: there the message is written, and a line
// end, as where a terminal is not waited on elsewhere.
void wait_for_key() {
  if (!is_console(STD_INPUT_HANDLE)) {
    std::cout << kPauseText << '\n';
  } else if (std::cout.flush()) {
    static_cast<void>(std::system("PAUSE"));
  }
}
