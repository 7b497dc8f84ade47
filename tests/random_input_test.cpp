// Random input from a fixed seed: whatever is typed, the program ends in time
// with status 0, sorts what it listed, and asks again after every bad word.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

constexpr std::uint32_t kSeed = 20261206;
constexpr int kInputs = 300;

const std::string kBanner =
    "\n\n======================| www.vandrel.example |======================\n\n"
    "\n\nSubject : Tavelund\n\nProgrammer : M.Vandrel\n\nDate : Autumn 1393\n\n";
const char* const kPrompts[] = {"frist", "Second", "3th", "4th", "5th",
                                "6th",   "7th",    "8th", "9th", "10th"};
const std::string kNotice = "Please enter a whole number from -2147483648 to 2147483647.\n";
const std::string kTyped = "Date Item in Original Order\n";
const std::string kSorted = "\nDate item in accending order\n";
const std::string kQuestion =
    "\nWould you like to reset the program to enter new numbers? (Yes or No)\n";
const std::string kEnd =
    "===============Build by Meskor Vandrel====================\n\n"
    "Press any key to continue . . . \n";

std::string pick(std::mt19937& rng, const std::vector<std::string>& choices) {
  return choices[rng() % choices.size()];
}

std::string random_number(std::mt19937& rng) {
  const std::int64_t edges[] = {INT32_MIN,       INT32_MAX,       INT32_MIN - 1LL,
                                INT32_MAX + 1LL, INT32_MIN - 2LL, INT32_MAX + 2LL};
  std::int64_t value = 0;
  switch (rng() % 3) {
    case 0:
      value = static_cast<std::int32_t>(rng());
      break;
    case 1:
      value = static_cast<std::int64_t>(rng() % 41) - 20;
      break;
    default:
      value = edges[rng() % 6];
  }
  return pick(rng, {"", "", "", "+", "0"}) + std::to_string(value);
}

std::string random_word(std::mt19937& rng) {
  if (rng() % 3 == 0) {
    std::string bytes;
    for (std::uint32_t n = 1 + rng() % 3; n > 0; --n) {
      const char stray[] = {'\0', '\001', '\033', '\177', static_cast<char>(0x80 + rng() % 128)};
      bytes += stray[rng() % 5];
    }
    return bytes;
  }
  return pick(rng, {"abc", "-", "+", "+x", ".5", "1e5", "0x1A", "--1", "99999999999999999999"});
}

// A few cycles' worth of numbers, bad words and replies, cut off at random.
std::string random_input(std::mt19937& rng) {
  const std::vector<std::string> gaps = {" ", " ", "\n", "\r\n", "\t", "\n\n  ", ""};
  const std::vector<std::string> replies = {"y", "y",  "yes", "Y",
                                            "n", "no", "x",   std::string(1, '\0')};
  std::string input;
  for (std::uint32_t cycles = 1 + rng() % 3; cycles > 0; --cycles) {
    for (std::uint32_t words = 10 + rng() % 5; words > 0; --words) {
      input += (rng() % 5 == 0 ? random_word(rng) : random_number(rng)) + pick(rng, gaps);
    }
    input += pick(rng, replies) + pick(rng, gaps);
  }
  if (rng() % 2 == 0) {
    input.resize(rng() % (input.size() + 1));
  }
  return input;
}

std::string render(const std::vector<int>& numbers) {
  std::string row;
  for (const int n : numbers) {
    char field[16];
    std::snprintf(field, sizeof field, "%4d", n);
    row += field;
  }
  return row;
}

// True when `typed` reads as ten fields whose numbers, in ascending order,
// give `sorted`. A row can read more than one way, since wide fields touch.
bool sorts_to(const std::string& typed, std::size_t at, std::vector<int>& fields,
              const std::string& sorted) {
  if (fields.size() == 10 || at == typed.size()) {
    std::vector<int> ascending = fields;
    std::sort(ascending.begin(), ascending.end());
    return at == typed.size() && fields.size() == 10 && render(ascending) == sorted;
  }
  for (std::size_t width = 4; width <= 11 && at + width <= typed.size(); ++width) {
    const std::string field = typed.substr(at, width);
    const long long value = std::strtoll(field.c_str(), nullptr, 10);
    if (value < INT32_MIN || value > INT32_MAX || render({static_cast<int>(value)}) != field) {
      continue;
    }
    fields.push_back(static_cast<int>(value));
    if (sorts_to(typed, at + width, fields, sorted)) {
      return true;
    }
    fields.pop_back();
  }
  return false;
}

// Walks the transcript: cycles of banner, prompts (each bad answer followed
// by the notice and the same prompt again) and rows, ended by the closing.
void check_transcript(const std::string& out) {
  std::size_t at = 0;
  const auto take = [&](const std::string& text) {
    if (out.compare(at, text.size(), text) != 0) {
      return false;
    }
    at += text.size();
    return true;
  };
  const auto up_to = [&](const std::string& text) {
    const std::size_t end = out.find(text, at);
    const std::string before = out.substr(at, end - at);
    at = end == std::string::npos ? out.size() : end + text.size();
    return before;
  };
  for (bool input_left = true; input_left;) {
    ASSERT_TRUE(take(kBanner)) << "no banner at " << at;
    for (const char* name : kPrompts) {
      const std::string prompt = std::string("Enter a ") + name + " Number:\n";
      ASSERT_TRUE(take(prompt)) << "no prompt " << name << " at " << at;
      while (take(kNotice)) {
        ASSERT_TRUE(take(prompt)) << "the notice is not followed by prompt " << name;
      }
      if (out.compare(at, kEnd.size(), kEnd) == 0) {
        input_left = false;
        break;
      }
    }
    if (input_left) {
      ASSERT_TRUE(take(kTyped)) << "no rows at " << at;
      const std::string typed = up_to(kSorted);
      const std::string sorted = up_to(kQuestion);
      std::vector<int> fields;
      EXPECT_TRUE(sorts_to(typed, 0, fields, sorted)) << typed << "\n" << sorted;
      input_left = out.compare(at, kEnd.size(), kEnd) != 0;
    }
  }
  EXPECT_EQ(out.substr(at), kEnd);
}

TEST(RandomInput, AlwaysEndsSortedAndAsksAgain) {
  std::mt19937 rng(kSeed);
  for (int i = 0; i < kInputs; ++i) {
    const std::string input = random_input(rng);
    SCOPED_TRACE("input " + std::to_string(i) + " of seed " + std::to_string(kSeed) + ": " +
                 testing::PrintToString(input));
    const RunResult run = run_tensort(input);
    ASSERT_FALSE(run.timed_out);
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.status;
    EXPECT_EQ(run.err, "");
    check_transcript(run.out);
    if (HasFatalFailure()) {
      return;
    }
  }
}

}  // namespace
