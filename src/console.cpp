#include "console.h"

#include <iostream>

#ifdef _WIN32

#include <cstdlib>

void clear_screen() {
  static_cast<void>(std::system("cls"));
}

void wait_for_key() {
  static_cast<void>(std::system("PAUSE"));
}

#else

#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace {

// The terminal's modes as they were before the wait, and the modes of the wait.
termios saved_modes;
termios waiting_modes;
// Set while the terminal is in the modes of the wait.
volatile std::sig_atomic_t waiting = 0;

// The signals that give the terminal back before they take their course.
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
struct sigaction previous_actions[kSignalCount];

void restore_modes() {
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_modes);
}

extern "C" void on_signal(int signal_number);

void catch_signals() {
  struct sigaction catching {};
  catching.sa_handler = on_signal;
  sigemptyset(&catching.sa_mask);
  for (int i = 0; i < kSignalCount; ++i) {
    sigaction(kSignals[i], nullptr, &previous_actions[i]);
    // A signal the program was told to ignore (nohup, for one) stays ignored.
    if (previous_actions[i].sa_handler != SIG_IGN) {
      sigaction(kSignals[i], &catching, nullptr);
    }
  }
}

void release_signals() {
  for (int i = 0; i < kSignalCount; ++i) {
    sigaction(kSignals[i], &previous_actions[i], nullptr);
  }
}

// Gives the terminal back, then lets the signal do what it does by default.
// Only a stop (Ctrl-Z) returns: on continue the wait goes on as before.
extern "C" void on_signal(int signal_number) {
  const int saved_errno = errno;
  restore_modes();
  signal(signal_number, SIG_DFL);
  sigset_t pending;
  sigemptyset(&pending);
  sigaddset(&pending, signal_number);
  raise(signal_number);
  sigprocmask(SIG_UNBLOCK, &pending, nullptr);
  signal(signal_number, on_signal);
  if (waiting != 0) {
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &waiting_modes);
  }
  errno = saved_errno;
}

// Reads one key press with line mode and echo off; keys typed ahead are dropped.
void read_one_key() {
  if (tcgetattr(STDIN_FILENO, &saved_modes) != 0) {
    return;
  }
  waiting_modes = saved_modes;
  waiting_modes.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  waiting_modes.c_cc[VMIN] = 1;
  waiting_modes.c_cc[VTIME] = 0;
  catch_signals();
  waiting = 1;
  if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &waiting_modes) == 0) {
    char key = 0;
    while (read(STDIN_FILENO, &key, 1) < 0 && errno == EINTR) {
    }
  }
  waiting = 0;
  restore_modes();
  release_signals();
}

}  // namespace

void clear_screen() {
  if (isatty(STDOUT_FILENO) != 0) {
    std::cout << "\033[H\033[2J\033[3J" << std::flush;
  }
}

void wait_for_key() {
  const bool from_terminal = isatty(STDIN_FILENO) != 0;
  std::cout << "Press any key to continue . . . " << std::flush;
  if (from_terminal) {
    read_one_key();
  }
  std::cout << '\n' << std::flush;
}

#endif
