// Runs the built program as a user would, with a time limit on every run.
#ifndef TENSORT_TESTS_RUN_PROGRAM_H
#define TENSORT_TESTS_RUN_PROGRAM_H

#include <sys/types.h>
#include <termios.h>

#include <string>

// How long one run may take before it counts as hung and is killed.
constexpr int kTimeLimitMs = 10000;

struct RunResult {
  std::string out;
  std::string err;
  int status = -1;  // as waitpid reports it
  bool timed_out = false;
};

enum class Output { kFile, kFull, kClosedPipe };

// Runs the program with `input` as its standard input and returns what it wrote.
RunResult run_tensort(const std::string& input, Output output = Output::kFile);

// The program on a pseudo-terminal, driven by what it writes.
class TerminalRun {
 public:
  TerminalRun();
  ~TerminalRun();
  TerminalRun(const TerminalRun&) = delete;
  TerminalRun& operator=(const TerminalRun&) = delete;

  // Reads until `text` has come after what earlier calls matched; false when
  // it does not come within the time limit.
  bool expect(const std::string& text);
  void type(const std::string& keys);
  // The terminal's modes as the program sees them now.
  termios modes() const;
  pid_t pid() const {
    return pid_;
  }
  // True while the program runs, `ms` milliseconds from now.
  bool still_running_after(int ms) const;
  // Waits for the end, reading all output; the waitpid status, -1 on time-out.
  int wait_for_exit();
  const std::string& output() const {
    return output_;
  }

 private:
  bool read_some(int timeout_ms);
  pid_t pid_ = -1;
  int master_ = -1;
  int slave_ = -1;
  bool exited_ = false;
  std::string output_;
  std::size_t matched_ = 0;
};

#endif  // TENSORT_TESTS_RUN_PROGRAM_H
