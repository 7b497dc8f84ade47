// Output that cannot be written is reported, not passed off as success.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "run_program.h"

namespace {

struct Case {
  const char* name;
  Output output;
  const char* message;
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

class UnwritableOutput : public testing::TestWithParam<Case> {};

TEST_P(UnwritableOutput, EndsWithStatusOneAndOneLine) {
  // Input enough for a second cycle: the program must not go on with it.
  const RunResult run =
      run_tensort("1 2 3 4 5 6 7 8 9 10 y 1 2 3 4 5 6 7 8 9 10 n\n", GetParam().output);
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            std::string("tensort: cannot write to standard output: ") + GetParam().message + "\n");
  ASSERT_TRUE(WIFEXITED(run.status));
  EXPECT_EQ(WEXITSTATUS(run.status), 1);
}

INSTANTIATE_TEST_SUITE_P(Outputs, UnwritableOutput,
                         testing::Values(Case{"Full", Output::kFull, "No space left on device"},
                                         Case{"ClosedPipe", Output::kClosedPipe, "Broken pipe"}),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
