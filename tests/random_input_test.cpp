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
#include "transcript.h"

namespace {

constexpr std::uint32_t kSeed = 20261206;
constexpr int kInputs = 300;

// A few cycles' worth of numbers across the int range and just past it, bad
// words and stray bytes, every kind of gap and reply, cut off at random.
std::string random_input(std::mt19937& rng) {
  const auto pick = [&rng](const std::vector<std::string>& choices) {
    return choices[rng() % choices.size()];
  };
  const std::vector<std::string> words = {"abc",
                                          "-",
                                          "+x",
                                          ".5",
                                          "0x1A",
                                          "--1",
                                          "99999999999999999999",
                                          "-2147483649",
                                          "2147483648",
                                          std::string("\0\001", 2),
                                          "\033\177",
                                          "\200\377"};
  const std::vector<std::string> edges = {"-2147483648", "2147483647", "+0", "-0", "007"};
  const std::vector<std::string> gaps = {" ", " ", "\n", "\r\n", "\t", "\n\n  ", ""};
  const std::vector<std::string> replies = {"y", "y", "yes", "Y", "n", "no", "x", {'\0'}};
  std::string input;
  for (std::uint32_t cycles = 1 + rng() % 3; cycles > 0; --cycles) {
    for (std::uint32_t n = 10 + rng() % 5; n > 0; --n) {
      const std::uint32_t kind = rng() % 6;
      input += kind == 0   ? pick(words)
               : kind == 1 ? pick(edges)
               : kind == 2 ? std::to_string(static_cast<int>(rng() % 41) - 20)
                           : std::to_string(static_cast<std::int32_t>(rng()));
      input += pick(gaps);
    }
    input += pick(replies) + pick(gaps);
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
    return fields.size() == 10 && at == typed.size() && render(ascending) == sorted;
  }
  for (std::size_t width = 4; width <= 11 && at + width <= typed.size(); ++width) {
    const std::string field = typed.substr(at, width);
    const long long value = std::strtoll(field.c_str(), nullptr, 10);
    // Every field must be a field of the sorted row too: that keeps the search short.
    if (value >= INT32_MIN && value <= INT32_MAX && render({static_cast<int>(value)}) == field &&
        sorted.find(field) != std::string::npos) {
      fields.push_back(static_cast<int>(value));
      if (sorts_to(typed, at + width, fields, sorted)) {
        return true;
      }
      fields.pop_back();
    }
  }
  return false;
}

// Walks the transcript: cycles of banner, prompts (each bad answer followed
// by the notice and the same prompt again) and rows, until the closing.
void check_transcript(const std::string& out) {
  std::size_t at = 0;
  const auto take = [&](const std::string& text) {
    const bool there = out.compare(at, text.size(), text) == 0;
    at += there ? text.size() : 0;
    return there;
  };
  const auto up_to = [&](const std::string& text) {
    const std::size_t end = std::min(out.find(text, at), out.size());
    const std::string before = out.substr(at, end - at);
    at = end + text.size();
    return before;
  };
  const auto ended = [&] { return out.compare(at, kEnd.size(), kEnd) == 0; };
  while (!ended()) {
    ASSERT_TRUE(take(kBanner)) << "no banner at " << at;
    for (const std::string& prompt : kPrompts) {
      ASSERT_TRUE(take(prompt)) << "no " << prompt << " at " << at;
      while (take(kNotice)) {
        ASSERT_TRUE(take(prompt)) << "the notice is not followed by " << prompt;
      }
      if (ended()) {
        break;
      }
    }
    if (!ended()) {
      ASSERT_TRUE(take(kTypedHeader)) << "no rows at " << at;
      const std::string typed = up_to(kSortedHeader);
      const std::string sorted = up_to(kQuestion);
      std::vector<int> fields;
      EXPECT_TRUE(sorts_to(typed, 0, fields, sorted)) << typed << "\n" << sorted;
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
