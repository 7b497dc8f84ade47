// The program's texts, as the tests expect them on a pipe.
#ifndef TENSORT_TESTS_TRANSCRIPT_H
#define TENSORT_TESTS_TRANSCRIPT_H

#include <string>
#include <vector>

inline const std::string kBanner =
    "\n\n======================| www.vandrel.example |======================\n\n"
    "\n\nSubject : Tavelund\n\nProgrammer : M.Vandrel\n\nDate : Autumn 1393\n\n";
inline const std::vector<std::string> kPrompts = {
    "Enter a frist Number:\n", "Enter a Second Number:\n", "Enter a 3th Number:\n",
    "Enter a 4th Number:\n",   "Enter a 5th Number:\n",    "Enter a 6th Number:\n",
    "Enter a 7th Number:\n",   "Enter a 8th Number:\n",    "Enter a 9th Number:\n",
    "Enter a 10th Number:\n"};
inline const std::string kNotice = "Please enter a whole number from -2147483648 to 2147483647.\n";
inline const std::string kTypedHeader = "Date Item in Original Order\n";
inline const std::string kSortedHeader = "\nDate item in accending order\n";
inline const std::string kQuestion =
    "\nWould you like to reset the program to enter new numbers? (Yes or No)\n";
inline const std::string kEnd =
    "===============Build by Meskor Vandrel====================\n\n"
    "Press any key to continue . . . \n";

#endif  // TENSORT_TESTS_TRANSCRIPT_H
