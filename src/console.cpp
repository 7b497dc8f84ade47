#include "console.h"

#include <iostream>

namespace {

// Whether clear_screen writes anything: settled once, by start_console.
bool clears = false;

}  // namespace

#ifdef _WIN32

#include <io.h>
#include <cstdio>
#include <cstdlib>

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

void wait_for_key() {
  if (std::cout.flush()) {
    static_cast<void>(std::system("PAUSE"));
  }
}

#else

#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

// The pause's message, after a line end: after a stop it is written again on a
// fresh line.
const char kPauseMessage[] = "\nPress any key to continue . . . ";

// The terminal's modes as they were before the wait, and the modes of the wait.
termios saved_modes;
termios waiting_modes;
// Set while the terminal is meant to be in the modes of the wait.
volatile std::sig_atomic_t waiting = 0;

// The signals that end the program, a stop (Ctrl-Z) and a continue: each one
// sees to the terminal's modes during the wait.
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGCONT};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
struct sigaction previous_actions[kSignalCount];

void set_action(int signal_number, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(signal_number, &action, nullptr);
}

// Blocks or unblocks one signal, and gives the signal mask as it was before.
sigset_t change_mask(int how, int signal_number) {
  sigset_t set;
  sigset_t previous;
  sigemptyset(&set);
  sigaddset(&set, signal_number);
  sigprocmask(how, &set, &previous);
  return previous;
}

// True while the program's process group owns the terminal on standard input,
// or when that terminal is not the program's controlling terminal at all.
bool owns_terminal() {
  const pid_t owner = tcgetpgrp(STDIN_FILENO);
  return owner == -1 || owner == getpgrp();
}

// Sets the terminal's modes, but never from the background: there the shell
// has taken the terminal back, and trying would stop the program.
void set_modes(const termios& modes) {
  if (owns_terminal()) {
    const sigset_t previous = change_mask(SIG_BLOCK, SIGTTOU);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &modes);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
  }
}

// Gives the terminal back, then lets the signal take its default course: the
// program ends, or stops until it is continued.
extern "C" void on_signal(int signal_number) {
  const int saved_errno = errno;
  set_modes(saved_modes);
  set_action(signal_number, SIG_DFL);
  raise(signal_number);
  change_mask(SIG_UNBLOCK, signal_number);
  set_action(signal_number, on_signal);
  errno = saved_errno;
}

// Continued after a stop, in the foreground: the wait takes its modes again,
// and says again what it waits for, since the shell has written meanwhile.
// Only the handler can do it at once, wherever the stop found the program.
// Should this write fail, so does the pause's line end, which is checked.
extern "C" void on_continue(int /*signal_number*/) {
  const int saved_errno = errno;
  if (waiting != 0 && owns_terminal()) {
    set_modes(waiting_modes);
    const ssize_t written = write(STDOUT_FILENO, kPauseMessage, sizeof kPauseMessage - 1);
    static_cast<void>(written);
  }
  errno = saved_errno;
}

void catch_signals() {
  for (int i = 0; i < kSignalCount; ++i) {
    sigaction(kSignals[i], nullptr, &previous_actions[i]);
    // A signal the program was told to ignore (nohup, for one) stays ignored.
    if (previous_actions[i].sa_handler != SIG_IGN) {
      set_action(kSignals[i], kSignals[i] == SIGCONT ? on_continue : on_signal);
    }
  }
}

void release_signals() {
  for (int i = 0; i < kSignalCount; ++i) {
    sigaction(kSignals[i], &previous_actions[i], nullptr);
  }
}

// Reads one key press with line mode, echo and the terminal's own control keys
// off, all but those that send a signal; keys typed ahead are dropped.
void read_one_key() {
  if (tcgetattr(STDIN_FILENO, &saved_modes) != 0) {
    return;
  }
  waiting_modes = saved_modes;
  waiting_modes.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
  waiting_modes.c_iflag &= ~static_cast<tcflag_t>(IXON);
  waiting_modes.c_cc[VMIN] = 1;
  waiting_modes.c_cc[VTIME] = 0;
  catch_signals();
  waiting = 1;
  set_modes(waiting_modes);
  char key = 0;
  while (read(STDIN_FILENO, &key, 1) < 0 && errno == EINTR) {
  }
  waiting = 0;
  set_modes(saved_modes);
  release_signals();
}

}  // namespace

void start_console() {
  // A reader that has gone away is reported as a failed write, not a crash.
  set_action(SIGPIPE, SIG_IGN);
  // A terminal that cannot take escape sequences says so in TERM.
  const char* term = std::getenv("TERM");
  clears = isatty(STDOUT_FILENO) != 0 && term != nullptr && *term != '\0' &&
           std::strcmp(term, "dumb") != 0;
}

int read_input(char* buffer, int size) {
  ssize_t count = 0;
  do {
    count = read(STDIN_FILENO, buffer, static_cast<std::size_t>(size));
  } while (count < 0 && errno == EINTR);
  return static_cast<int>(count);
}

bool write_output(const char* data, int size) {
  while (size > 0) {
    const ssize_t written = write(STDOUT_FILENO, data, static_cast<std::size_t>(size));
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data += written;
    size -= static_cast<int>(written);
  }
  return true;
}

void clear_screen() {
  if (clears) {
    std::cout << "\033[H\033[2J\033[3J";
  }
}

void wait_for_key() {
  const bool from_terminal = isatty(STDIN_FILENO) != 0;
  if ((std::cout << kPauseMessage + 1 << std::flush) && from_terminal) {
    read_one_key();
  }
  std::cout << '\n';
}

#endif
