#include "run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void exec_tensort() {
  execl(TENSORT_PATH, TENSORT_PATH, static_cast<char*>(nullptr));
  _exit(127);
}

// Waits for the program to end, doing `meanwhile` between looks, and kills it
// once the time limit has passed. Returns its waitpid status.
template <typename Meanwhile>
int reap(pid_t pid, bool& timed_out, Meanwhile meanwhile) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kTimeLimitMs);
  int status = -1;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      timed_out = true;
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    meanwhile();
  }
  return status;
}

std::string contents(std::FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[4096];
  for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
    text.append(buffer, n);
  }
  std::fclose(file);
  return text;
}

}  // namespace

RunResult run_tensort(const std::string& input, Output output) {
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  std::fwrite(input.data(), 1, input.size(), in);
  std::rewind(in);
  int unread[2];
  if (in == nullptr || out == nullptr || err == nullptr || pipe(unread) != 0) {
    throw std::runtime_error("cannot set up the program's streams");
  }
  close(unread[0]);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fileno(in), STDIN_FILENO);
    dup2(output == Output::kFull         ? open("/dev/full", O_WRONLY)
         : output == Output::kClosedPipe ? unread[1]
                                         : fileno(out),
         STDOUT_FILENO);
    dup2(fileno(err), STDERR_FILENO);
    exec_tensort();
  }
  close(unread[1]);
  RunResult result;
  result.status = reap(pid, result.timed_out,
                       [] { std::this_thread::sleep_for(std::chrono::milliseconds(2)); });
  std::fclose(in);
  result.out = contents(out);
  result.err = contents(err);
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
  char buffer[4096];
  const ssize_t n = poll(&fd, 1, timeout_ms) > 0 ? read(master_, buffer, sizeof buffer) : 0;
  if (n > 0) {
    output_.append(buffer, static_cast<std::size_t>(n));
  }
  return n > 0;
}

bool TerminalRun::expect(const std::string& text) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kTimeLimitMs);
  std::size_t found = 0;
  while ((found = output_.find(text, matched_)) == std::string::npos) {
    if (Clock::now() > deadline) {
      return false;
    }
    read_some(10);
  }
  matched_ = found + text.size();
  return true;
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

bool TerminalRun::still_running_after(int ms) const {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  // Looks without collecting, so wait_for_exit still gets the status.
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == 0;
}

int TerminalRun::wait_for_exit() {
  bool timed_out = false;
  const int status = reap(pid_, timed_out, [this] { read_some(5); });
  exited_ = true;
  while (read_some(50)) {
  }
  return timed_out ? -1 : status;
}
