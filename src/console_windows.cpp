// The console on Windows: the C runtime's descriptors, and the command
// processor's "cls" and "PAUSE".
#include "console.h"

#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

// Whether clear_screen writes anything: settled once, by start_console.
bool clears = false;

}  // namespace

void start_console() {
  // The command processor's "cls" writes a form feed into a file or a pipe.
  clears = _isatty(_fileno(stdout)) != 0;
}

int read_input(char* buffer, int size) {
  return _read(0, buffer, static_cast<unsigned>(size));
}

bool write_output(const char* data, int size) {
  while (size > 0) {
    const int written = _write(1, data, static_cast<unsigned>(size));
    if (written < 0) {
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
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
  DWORD mode = 0;
  if (GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) == 0) {
    std::cout << kPauseMessage + 1 << '\n';
  } else if (std::cout.flush()) {
    static_cast<void>(std::system("PAUSE"));
  }
}
