// The program on a pseudo-terminal: clearing, the pause and the terminal's
// modes. The terminal echoes what is typed and writes line ends as CR LF.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "run_program.h"

namespace {

const std::string kClear = "\033[H\033[2J\033[3J";
const std::string kQuestion =
    "Would you like to reset the program to enter new numbers? (Yes or No)\r\n";
const std::string kPause = "Press any key to continue . . . ";

bool same_modes(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

// True once the program has switched line mode and echo off for the pause.
bool waits_for_key(const TerminalRun& run) {
  for (int tries = 0; tries < kTimeLimitMs / 10; ++tries) {
    if ((run.modes().c_lflag & (ICANON | ECHO)) == 0) {
      return true;
    }
    usleep(10000);
  }
  return false;
}

// Runs one cycle, types `keys` at the question and waits for the pause,
// checking that the screen is cleared right after their echo.
void run_to_pause(TerminalRun& run, const std::string& keys, const std::string& echo) {
  ASSERT_TRUE(run.expect("Enter a frist Number:\r\n"));
  run.type("3 1 2 4 5 6 7 8 9 10\n");
  ASSERT_TRUE(run.expect(kQuestion));
  run.type(keys);
  ASSERT_TRUE(run.expect(echo + kClear +
                         "===============Build by Meskor Vandrel====================\r\n\r\n" +
                         kPause));
}

TEST(Terminal, ClearsAfterEveryReplyAndWaitsForOneKey) {
  TerminalRun run;
  const termios before = run.modes();
  ASSERT_TRUE(run.expect("Enter a frist Number:\r\n"));
  run.type("1 2 3 4 5 6 7 8 9 10\n");
  ASSERT_TRUE(run.expect(kQuestion));
  run.type("y\n");
  ASSERT_TRUE(run.expect("y\r\n" + kClear + "\r\n\r\n======================| www.vandrel.example"));
  // A key typed ahead of the pause does not end it.
  run_to_pause(run, "n\nq", "n\r\nq");
  ASSERT_TRUE(waits_for_key(run));
  EXPECT_TRUE(run.still_running_after(300));

  run.type("k");
  const int status = run.wait_for_exit();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // The key is not echoed; the pause ends its line.
  EXPECT_EQ(run.output().substr(run.output().rfind(kPause) + kPause.size()), "\r\n");
  EXPECT_TRUE(same_modes(run.modes(), before));
}

struct Interruption {
  const char* name;
  const char* keys;  // typed on the terminal; empty to send `signal` instead
  int signal;
};

void PrintTo(const Interruption& interruption, std::ostream* out) {
  *out << interruption.name;
}

class InterruptedPause : public testing::TestWithParam<Interruption> {};

TEST_P(InterruptedPause, GivesTheTerminalBackAndEndsBySignal) {
  TerminalRun run;
  const termios before = run.modes();
  run_to_pause(run, "n\n", "n\r\n");
  ASSERT_TRUE(waits_for_key(run));
  if (std::strlen(GetParam().keys) > 0) {
    run.type(GetParam().keys);
  } else {
    kill(run.pid(), GetParam().signal);
  }
  const int status = run.wait_for_exit();
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), GetParam().signal);
  EXPECT_TRUE(same_modes(run.modes(), before));
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedPause,
                         testing::Values(Interruption{"CtrlC", "\003", SIGINT},
                                         Interruption{"Term", "", SIGTERM},
                                         Interruption{"Hangup", "", SIGHUP}),
                         [](const testing::TestParamInfo<Interruption>& info) {
                           return info.param.name;
                         });

}  // namespace
