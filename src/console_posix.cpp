// The console on Linux, macOS and the BSDs: the descriptors, the terminal's
// clear sequence, and a wait for one key with the terminal's modes given back
// whatever signal comes. From start_console on, the signals that end or stop
// the program are handled: they give the terminal back, and one that ends a
// program ends this one also where the system would ignore it (the first
// process of a container). The terminal's modes are switched for the wait
// alone and given back as they were, also when a signal ends or stops the
// program during the wait; where the system discards a stop, the wait goes on
// as it was.
#include "console.h"

#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

// Whether clear_screen writes anything: settled once, by start_console.
bool clears = false;

// The terminal's modes as the program found them, and the modes of the wait.
termios shell_modes;
termios waiting_modes;
// Set while the terminal is meant to have the wait's modes.
volatile std::sig_atomic_t waiting = 0;
// The signals the program handles; each handler runs with all of them blocked.
sigset_t handled;

void set_action(int signal_number, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_mask = handled;
  sigaction(signal_number, &action, nullptr);
}

// Changes the signal mask by `how` for the signals in `set`, and gives the mask
// as it was before.
sigset_t change_mask(int how, const sigset_t& set) {
  sigset_t previous;
  sigprocmask(how, &set, &previous);
  return previous;
}

sigset_t only(int signal_number) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal_number);
  return set;
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
    const sigset_t previous = change_mask(SIG_BLOCK, only(SIGTTOU));
    while (tcsetattr(STDIN_FILENO, TCSAFLUSH, &modes) != 0 && errno == EINTR) {
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
  }
}

// The handlers. While one runs, every handled signal is blocked but the one it
// lets take its default course, so none runs inside another; the dialogue
// changes `waiting` and the modes only with them all blocked. So they share
// the state above without a lock. They call only async-signal-safe functions:
// tcgetpgrp, getpgrp, tcsetattr, sigaction, sigprocmask, sigpending, raise,
// write and _exit.

// Gives the terminal back during the wait, then lets the signal being handled
// take its default course: the program ends, or stops here until it is
// continued. The handler is set back before the signal is unblocked again, so
// that one coming at once finds it. Where the system
// discards the default action, the program goes on: a stop in a process group
// that no shell controls (the program leads its terminal's session, as in a
// tmux pane, after exec or under ssh -t), and every default action in the
// first process of a PID namespace (a container). A continue sent within
// microseconds of the stop can come before the stop is taken and leave the
// program stopped, as in any program that stops itself from a handler.
void take_default_action(int signal_number, void (*handler)(int)) {
  if (waiting != 0) {
    set_modes(shell_modes);
  }
  set_action(signal_number, SIG_DFL);
  raise(signal_number);
  change_mask(SIG_UNBLOCK, only(signal_number));
  // Here the program has ended, has been stopped and continued, or goes on.
  change_mask(SIG_BLOCK, only(signal_number));
  set_action(signal_number, handler);
}

// Ctrl-C, Ctrl-\, kill, a hang-up: gives the terminal back and ends the
// program as the signal does, or with the status a shell gives for it where
// the system ignores the signal.
extern "C" void restore_term_on_signal(int signal_number) {
  take_default_action(signal_number, restore_term_on_signal);
  _exit(128 + signal_number);
}

// Ctrl-Z: gives the terminal back and stops. After a stop the continue is
// pending, and its handler resumes the wait next; where no stop took place,
// the wait goes on here as it was.
extern "C" void restore_term_on_suspend(int signal_number) {
  const int saved_errno = errno;
  take_default_action(signal_number, restore_term_on_suspend);
  sigset_t pending;
  sigpending(&pending);
  if (waiting != 0 && sigismember(&pending, SIGCONT) == 0) {
    set_modes(waiting_modes);
  }
  errno = saved_errno;
}

// Continued after any stop, in the foreground: the wait takes its modes again,
// and says again what it waits for, since the shell has written meanwhile.
// Should this write fail, so does the pause's line end, which is checked.
extern "C" void resume_wait_on_continue(int /*signal_number*/) {
  const int saved_errno = errno;
  if (waiting != 0 && owns_terminal()) {
    set_modes(waiting_modes);
    // On a fresh line: the shell has written meanwhile.
    const ssize_t ended = write(STDOUT_FILENO, "\n", 1);
    const ssize_t written = write(STDOUT_FILENO, kPauseText, sizeof kPauseText - 1);
    static_cast<void>(ended);
    static_cast<void>(written);
  }
  errno = saved_errno;
}

// Handles the signals for the whole run, but those the program was started
// with ignored (nohup, for one): they stay ignored.
void catch_signals() {
  const struct {
    int number;
    void (*handler)(int);
  } handlers[] = {{SIGINT, restore_term_on_signal},   {SIGTERM, restore_term_on_signal},
                  {SIGHUP, restore_term_on_signal},   {SIGQUIT, restore_term_on_signal},
                  {SIGTSTP, restore_term_on_suspend}, {SIGCONT, resume_wait_on_continue}};
  sigemptyset(&handled);
  for (const auto& entry : handlers) {
    sigaddset(&handled, entry.number);
  }
  for (const auto& entry : handlers) {
    struct sigaction previous {};
    sigaction(entry.number, nullptr, &previous);
    if (previous.sa_handler != SIG_IGN) {
      set_action(entry.number, entry.handler);
    }
  }
}

// Enters or leaves the wait: sets `waiting` and the modes that go with it, with
// the handlers held off meanwhile.
void set_waiting(std::sig_atomic_t now) {
  const sigset_t previous = change_mask(SIG_BLOCK, handled);
  waiting = now;
  set_modes(now != 0 ? waiting_modes : shell_modes);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
}

// Reads one key press with line mode, echo and the terminal's own control keys
// off, all but those that send a signal; keys typed ahead are dropped.
void read_one_key() {
  if (tcgetattr(STDIN_FILENO, &shell_modes) != 0) {
    return;
  }
  waiting_modes = shell_modes;
  waiting_modes.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
  waiting_modes.c_iflag &= ~static_cast<tcflag_t>(IXON);
  waiting_modes.c_cc[VMIN] = 1;
  waiting_modes.c_cc[VTIME] = 0;
  set_waiting(1);
  char key = 0;
  while (read(STDIN_FILENO, &key, 1) < 0 && errno == EINTR) {
  }
  set_waiting(0);
}

}  // namespace

void start_console() {
  catch_signals();
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

int write_output(const char* data, int size) {
  ssize_t written = 0;
  do {
    written = write(STDOUT_FILENO, data, static_cast<std::size_t>(size));
  } while (written < 0 && errno == EINTR);
  return static_cast<int>(written);
}

void clear_screen() {
  clear_with_sequence(clears);
}

void wait_for_key() {
  pause_for_key(isatty(STDIN_FILENO) != 0, read_one_key);
}
