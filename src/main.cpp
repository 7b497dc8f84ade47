// tensort: asks for ten whole numbers, lists them as typed and again in
// ascending order, and offers to start again.
#include <cctype>
#include <cstdio>
#include <iomanip>
#include <iostream>

#include "console.h"
#include "streams.h"

namespace {

static_assert(sizeof(int) == 4, "the numbers are 32-bit integers");

// Drops the rest of the word at the front of the input, up to the next blank
// or the end, without keeping it.
void discard_word() {
  for (int c = std::cin.peek(); c != EOF && std::isspace(c) == 0; c = std::cin.peek()) {
    std::cin.ignore();
  }
}

// Skips blanks and line ends. False when the input has ended or failed, or
// when output can no longer be written.
bool next_word() {
  std::cin >> std::ws;
  return std::cin.good();
}

// Writes the prompt and reads one number into `number`. A word that is not a
// number in the int range is dropped with a notice, and the prompt is asked
// again. False when there is nothing more to read.
bool read_number(const char* prompt, int& number) {
  std::cout << prompt;
  while (next_word()) {
    if (std::cin >> number) {
      return true;
    }
    // (A failed read is the end of the input, which next_word finds.)
    std::cin.clear();
    discard_word();
    std::cout << "Please enter a whole number from -2147483648 to 2147483647.\n" << prompt;
  }
  return false;
}

// Reads the reply: the first character of the next word; the rest of the word
// is dropped. A NUL character when there is nothing more to read.
char read_reply() {
  if (!next_word()) {
    return '\0';
  }
  const char reply = static_cast<char>(std::cin.get());
  discard_word();
  return reply;
}

}  // namespace

int main() {
  start_console();
  open_streams();
  char again = 'y';
  int integer1 = 0;
  int integer2 = 0;
  int integer3 = 0;
  int integer4 = 0;
  int integer5 = 0;
  int integer6 = 0;
  int integer7 = 0;
  int integer8 = 0;
  int integer9 = 0;
  int integer10 = 0;
  int a[10] = {};

  while (again == 'y') {
    std::cout << "\n\n======================| www.vandrel.example |======================\n\n";
    std::cout << "\n\nSubject : Tavelund\n";
    std::cout << "\nProgrammer : M.Vandrel\n";
    std::cout << "\nDate : Autumn 1393\n\n";

    const bool typed = read_number("Enter a frist Number:\n", integer1) &&
                       read_number("Enter a Second Number:\n", integer2) &&
                       read_number("Enter a 3th Number:\n", integer3) &&
                       read_number("Enter a 4th Number:\n", integer4) &&
                       read_number("Enter a 5th Number:\n", integer5) &&
                       read_number("Enter a 6th Number:\n", integer6) &&
                       read_number("Enter a 7th Number:\n", integer7) &&
                       read_number("Enter a 8th Number:\n", integer8) &&
                       read_number("Enter a 9th Number:\n", integer9) &&
                       read_number("Enter a 10th Number:\n", integer10);
    if (!typed) {
      // The input has ended: the dialogue closes as after a "no".
      again = 'n';
    } else {
      a[0] = integer1;
      a[1] = integer2;
      a[2] = integer3;
      a[3] = integer4;
      a[4] = integer5;
      a[5] = integer6;
      a[6] = integer7;
      a[7] = integer8;
      a[8] = integer9;
      a[9] = integer10;

      std::cout << "Date Item in Original Order\n";
      for (int k = 0; k < 10; ++k) {
        std::cout << std::setw(4) << a[k];
      }

      // Bubble sort: nine full passes over the nine neighbouring pairs.
      for (int i = 0; i < 9; ++i) {
        for (int j = 0; j < 9; ++j) {
          if (a[j] > a[j + 1]) {
            const int temp = a[j];
            a[j] = a[j + 1];
            a[j + 1] = temp;
          }
        }
      }

      std::cout << "\nDate item in accending order\n";
      for (int k = 0; k < 10; ++k) {
        std::cout << std::setw(4) << a[k];
      }
      std::cout << std::endl;
      std::cout << "Would you like to reset the program to enter new numbers? (Yes or No)\n";
      again = read_reply();
    }
    clear_screen();
  }

  std::cout << "===============Build by Meskor Vandrel====================\n\n";
  wait_for_key();
  return close_streams();
}
