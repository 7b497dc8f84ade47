#include "run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

int ms_left(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

[[noreturn]] void exec_tensort() {
  execl(TENSORT_PATH, TENSORT_PATH, static_cast<char*>(nullptr));
  _exit(127);
}

void make_pipe(int fds[2]) {
  if (pipe(fds) != 0) {
    throw std::runtime_error("pipe failed");
  }
}

// Waits for the program to end, doing `meanwhile` between looks; kills it
// when the time limit has passed. Returns its waitpid status.
template <typename Meanwhile>
int reap(pid_t pid, Clock::time_point deadline, bool& timed_out, Meanwhile meanwhile) {
  int status = -1;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (ms_left(deadline) == 0) {
      timed_out = true;
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    meanwhile();
  }
  return status;
}

}  // namespace

RunResult run_tensort(const std::string& input, Output output) {
  signal(SIGPIPE, SIG_IGN);
  int in[2];
  int out[2];
  int err[2];
  make_pipe(in);
  make_pipe(out);
  make_pipe(err);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], STDIN_FILENO);
    if (output == Output::kFull) {
      dup2(open("/dev/full", O_WRONLY), STDOUT_FILENO);
    } else {
      dup2(out[1], STDOUT_FILENO);
    }
    dup2(err[1], STDERR_FILENO);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
      close(fd);
    }
    exec_tensort();
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (output == Output::kClosedPipe) {
    close(out[0]);
  }

  RunResult result;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kTimeLimitMs);
  std::size_t written = 0;
  int to_child = in[1];
  int from_child = output == Output::kClosedPipe ? -1 : out[0];
  int errors = err[0];
  fcntl(to_child, F_SETFL, O_NONBLOCK);
  if (input.empty()) {
    close(to_child);
    to_child = -1;
  }
  while ((from_child >= 0 || errors >= 0) && ms_left(deadline) > 0) {
    pollfd fds[3] = {{from_child, POLLIN, 0}, {errors, POLLIN, 0}, {to_child, POLLOUT, 0}};
    if (poll(fds, 3, ms_left(deadline)) < 0 && errno != EINTR) {
      break;
    }
    char buffer[4096];
    for (int i = 0; i < 2; ++i) {
      if (fds[i].revents == 0) {
        continue;
      }
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
      } else {
        close(fds[i].fd);
        (i == 0 ? from_child : errors) = -1;
      }
    }
    if (fds[2].revents != 0) {
      const ssize_t n = write(to_child, input.data() + written, input.size() - written);
      if (n > 0) {
        written += static_cast<std::size_t>(n);
      }
      if (n < 0 || written == input.size()) {
        close(to_child);
        to_child = -1;
      }
    }
  }
  for (int fd : {to_child, from_child, errors}) {
    if (fd >= 0) {
      close(fd);
    }
  }
  result.status = reap(pid, deadline, result.timed_out,
                       [] { std::this_thread::sleep_for(std::chrono::milliseconds(5)); });
  return result;
}

TerminalRun::TerminalRun() {
  pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
  if (pid_ < 0) {
    throw std::runtime_error("forkpty failed");
  }
  if (pid_ == 0) {
    exec_tensort();
  }
  // A descriptor of the terminal's own side, to read its modes from.
  slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
}

TerminalRun::~TerminalRun() {
  if (!exited_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  close(master_);
  close(slave_);
}

bool TerminalRun::read_some(int timeout_ms) {
  pollfd fd = {master_, POLLIN, 0};
  if (poll(&fd, 1, timeout_ms) <= 0) {
    return false;
  }
  char buffer[4096];
  const ssize_t n = read(master_, buffer, sizeof buffer);
  if (n <= 0) {
    return false;
  }
  output_.append(buffer, static_cast<std::size_t>(n));
  return true;
}

bool TerminalRun::expect(const std::string& text) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kTimeLimitMs);
  for (;;) {
    const std::size_t found = output_.find(text, matched_);
    if (found != std::string::npos) {
      matched_ = found + text.size();
      return true;
    }
    if (ms_left(deadline) == 0) {
      return false;
    }
    read_some(ms_left(deadline));
  }
}

void TerminalRun::type(const std::string& keys) {
  if (write(master_, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size())) {
    throw std::runtime_error("cannot type on the terminal");
  }
}

termios TerminalRun::modes() const {
  termios now{};
  tcgetattr(slave_, &now);
  return now;
}

bool TerminalRun::still_running_after(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == 0;
}

int TerminalRun::wait_for_exit() {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kTimeLimitMs);
  bool timed_out = false;
  const int status = reap(pid_, deadline, timed_out, [this] { read_some(5); });
  exited_ = true;
  while (read_some(50)) {
  }
  return timed_out ? -1 : status;
}
