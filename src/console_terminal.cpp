// The clear and the pause of a console that takes escape sequences and that
// the program waits on itself: a terminal (console_posix.cpp) and the page
// (console_web.cpp).
#include <iostream>

#include "console.h"

namespace {

// Clears a terminal that takes escape sequences: the cursor home, the screen
// erased, and the lines scrolled off it as well.
constexpr char kClearSequence[] = "\033[H\033[2J\033[3J";

}  // namespace

void clear_with_sequence(bool clears) {
  if (clears) {
    std::cout << kClearSequence;
  }
}

void pause_for_key(bool waits, void (*take_key)()) {
  if ((std::cout << kPauseText << std::flush) && waits) {
    take_key();
  }
  std::cout << '\n';
}
