// The dialogue fed canned input: whole transcripts compared byte for byte.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>

#include "run_program.h"
#include "transcript.h"

namespace {

// Prompts `first` to `last`, counted from 1.
std::string prompts(std::size_t first, std::size_t last) {
  std::string text;
  for (std::size_t k = first; k <= last; ++k) {
    text += kPrompts[k - 1];
  }
  return text;
}

// The end of a cycle: both rows and the question.
std::string rows(const std::string& typed, const std::string& sorted) {
  return kTypedHeader + typed + kSortedHeader + sorted + kQuestion;
}

// A cycle whose ten prompts were all answered at the first asking.
std::string cycle(const std::string& typed, const std::string& sorted) {
  return kBanner + prompts(1, 10) + rows(typed, sorted);
}

const std::string kOneToTen = "   1   2   3   4   5   6   7   8   9  10";
const std::string kTenToOne = "  10   9   8   7   6   5   4   3   2   1";

struct Case {
  const char* name;
  std::string input;
  std::string expected;
};

const Case kCases[] = {
    {"WholeCycle", "5 3 8 1 9 2 7 4 6 0\nn\n",
     "\n\n======================| www.vandrel.example |======================\n\n\n\nSubject : "
     "Tavelund\n\nProgrammer : M.Vandrel\n\nDate : Autumn 1393\n\nEnter a frist Number:\nEnter a "
     "Second Number:\nEnter a 3th Number:\nEnter a 4th Number:\nEnter a 5th Number:\nEnter a 6th "
     "Number:\nEnter a 7th Number:\nEnter a 8th Number:\nEnter a 9th Number:\nEnter a 10th "
     "Number:\nDate Item in Original Order\n   5   3   8   1   9   2   7   4   6   0\nDate item "
     "in accending order\n   0   1   2   3   4   5   6   7   8   9\nWould you like to reset the "
     "program to enter new numbers? (Yes or No)\n===============Build by Meskor "
     "Vandrel====================\n\nPress any key to continue . . . \n"},
    {"YesStartsASecondCycle",
     "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\ny\n10\n9\n8\n7\n6\n5\n4\n3\n2\n1\nn\n",
     cycle(kOneToTen, kOneToTen) + cycle(kTenToOne, kOneToTen) + kEnd},
    {"TwoCyclesOnOneLine", "1 2 3 4 5 6 7 8 9 10 y 10 9 8 7 6 5 4 3 2 1 n",
     cycle(kOneToTen, kOneToTen) + cycle(kTenToOne, kOneToTen) + kEnd},
    {"WordsAsReplies",
     "1 2 3 4 5 6 7 8 9 10\nyes\n10 9 8 7 6 5 4 3 2 1\nyeah\n1 2 3 4 5 6 7 8 9 10\nno\n",
     cycle(kOneToTen, kOneToTen) + cycle(kTenToOne, kOneToTen) + cycle(kOneToTen, kOneToTen) +
         kEnd},
    {"OnlyLowercaseYGoesOn", "1 2 3 4 5 6 7 8 9 10\nY\n1 2 3 4 5 6 7 8 9 10\n",
     cycle(kOneToTen, kOneToTen) + kEnd},
    {"OtherRepliesEnd", "1 2 3 4 5 6 7 8 9 10\n?y\n", cycle(kOneToTen, kOneToTen) + kEnd},
    {"BlanksAndEmptyLinesAreSkipped",
     "\n\n  1\t\n\n2\r\n3 4 5 6 7 8 9 10\n\n   \n  y\r\n"
     "1 2 3 4 5 6 7 8 9 10\r\n\r\nN\r\n",
     cycle(kOneToTen, kOneToTen) + cycle(kOneToTen, kOneToTen) + kEnd},
    {"SignsAndLeadingZeros", "+5 -3 010 007 -0 +0 0009 -010 1 2 n",
     cycle("   5  -3  10   7   0   0   9 -10   1   2", " -10  -3   0   0   1   2   5   7   9  10") +
         kEnd},
    {"RowFieldWidths", "7 1234 -123 12345 -1 99999 -2147483648 2147483647 0 -9999 n",
     cycle("   71234-12312345  -199999-21474836482147483647   0-9999",
           "-2147483648-9999-123  -1   0   7123412345999992147483647") +
         kEnd},
    {"EqualValuesStay", "4 4 4 4 4 4 4 4 4 4 n",
     cycle("   4   4   4   4   4   4   4   4   4   4", "   4   4   4   4   4   4   4   4   4   4") +
         kEnd},
    {"NotANumberIsAskedAgain", "abc 1 - 2 +x 3 .5 4 5 6 7 8 9 10 n",
     kBanner + kPrompts[0] + kNotice + prompts(1, 2) + kNotice + prompts(2, 3) + kNotice +
         prompts(3, 4) + kNotice + prompts(4, 10) + rows(kOneToTen, kOneToTen) + kEnd},
    {"OutOfRangeIsAskedAgain",
     "2147483648 -2147483648 -99999999999 -2147483649 2147483647 3 4 5 6 7 8 9 10 n",
     kBanner + kPrompts[0] + kNotice + prompts(1, 2) + kNotice + kPrompts[1] + kNotice +
         prompts(2, 10) +
         rows("-21474836482147483647   3   4   5   6   7   8   9  10",
              "-2147483648   3   4   5   6   7   8   9  102147483647") +
         kEnd},
    {"NumberRunningIntoAWord", "12abc 1 2 3 4 5 6 7 8 9 n",
     kBanner + prompts(1, 2) + kNotice + prompts(2, 10) +
         rows("  12   1   2   3   4   5   6   7   8   9",
              "   1   2   3   4   5   6   7   8   9  12") +
         kEnd},
    {"StrayBytesAreAWord", std::string("1 2 \0\x01\xff 3 4 5 6 7 8 9 10 n", 26),
     kBanner + prompts(1, 3) + kNotice + prompts(3, 10) + rows(kOneToTen, kOneToTen) + kEnd},
    {"NoInput", "", kBanner + kPrompts[0] + kEnd},
    {"InputEndsAtAPrompt", "1 2 3", kBanner + prompts(1, 4) + kEnd},
    {"InputEndsAfterABadWord", "1 2 3 -", kBanner + prompts(1, 4) + kNotice + kPrompts[3] + kEnd},
    {"InputEndsAtTheQuestion", "1 2 3 4 5 6 7 8 9 10\n", cycle(kOneToTen, kOneToTen) + kEnd},
    {"InputEndsAfterYes", "1 2 3 4 5 6 7 8 9 10 y",
     cycle(kOneToTen, kOneToTen) + kBanner + kPrompts[0] + kEnd},
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

class Dialogue : public testing::TestWithParam<Case> {};

TEST_P(Dialogue, WritesTheExpectedTranscript) {
  const RunResult run = run_tensort(GetParam().input);
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.out, GetParam().expected);
  EXPECT_EQ(run.err, "");
  ASSERT_TRUE(WIFEXITED(run.status));
  EXPECT_EQ(WEXITSTATUS(run.status), 0);
}

INSTANTIATE_TEST_SUITE_P(Transcripts, Dialogue, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

// A bad word of any length is dropped as it is read, and asked about once.
TEST(DialogueInput, HugeWordIsOneBadAnswer) {
  const RunResult run = run_tensort(std::string(8 << 20, '7') + "x 1 2 3 4 5 6 7 8 9 10 n");
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.out,
            kBanner + kPrompts[0] + kNotice + prompts(1, 10) + rows(kOneToTen, kOneToTen) + kEnd);
  EXPECT_EQ(WEXITSTATUS(run.status), 0);
}

// Output that cannot be written is reported, not passed off as success, and
// the program does not go on with the input it has.
TEST(DialogueOutput, UnwritableOutputEndsWithStatusOne) {
  const std::pair<Output, std::string> outputs[] = {{Output::kFull, "No space left on device"},
                                                    {Output::kClosedPipe, "Broken pipe"}};
  for (const auto& [output, reason] : outputs) {
    const RunResult run = run_tensort("1 2 3 4 5 6 7 8 9 10 y 1 2 3 4 5 6 7 8 9 10 n\n", output);
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "tensort: cannot write to standard output: " + reason + "\n");
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 1);
  }
}

}  // namespace
