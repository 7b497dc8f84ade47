/* The measuring stick for bench/throughput.py: a plain C program that holds
 * tensort's dialogue with stdio, as such a program usually would: the same
 * texts, prompts and sort, and a flush before each read. It is not part of
 * tensort and is not installed. */
#include <ctype.h>
#include <stdio.h>
#include <unistd.h>

static const char *const prompts[10] = {
    "Enter a frist Number:\n", "Enter a Second Number:\n", "Enter a 3th Number:\n",
    "Enter a 4th Number:\n",   "Enter a 5th Number:\n",    "Enter a 6th Number:\n",
    "Enter a 7th Number:\n",   "Enter a 8th Number:\n",    "Enter a 9th Number:\n",
    "Enter a 10th Number:\n"};

static void drop_word(void) {
  int c;
  while ((c = getchar()) != EOF && !isspace(c)) {
  }
  if (c != EOF) {
    ungetc(c, stdin);
  }
}

/* Writes the prompt and reads one number; asks again after a bad word. */
static int read_number(const char *prompt, int *number) {
  fputs(prompt, stdout);
  for (;;) {
    int got;
    fflush(stdout);
    got = scanf("%d", number);
    if (got == 1) {
      return 1;
    }
    if (got == EOF) {
      return 0;
    }
    drop_word();
    fputs("Please enter a whole number from -2147483648 to 2147483647.\n", stdout);
    fputs(prompt, stdout);
  }
}

int main(void) {
  const int clears = isatty(STDOUT_FILENO);
  char again = 'y';
  while (again == 'y') {
    int a[10];
    int k;
    int typed = 1;
    fputs("\n\n======================| www.vandrel.example |======================\n\n", stdout);
    fputs("\n\nSubject : Tavelund\n", stdout);
    fputs("\nProgrammer : M.Vandrel\n", stdout);
    fputs("\nDate : Autumn 1393\n\n", stdout);
    for (k = 0; k < 10 && typed; ++k) {
      typed = read_number(prompts[k], &a[k]);
    }
    if (!typed) {
      again = 'n';
    } else {
      int i;
      int j;
      fputs("Date Item in Original Order\n", stdout);
      for (k = 0; k < 10; ++k) {
        printf("%4d", a[k]);
      }
      for (i = 0; i < 9; ++i) {
        for (j = 0; j < 9; ++j) {
          if (a[j] > a[j + 1]) {
            const int temp = a[j];
            a[j] = a[j + 1];
            a[j + 1] = temp;
          }
        }
      }
      fputs("\nDate item in accending order\n", stdout);
      for (k = 0; k < 10; ++k) {
        printf("%4d", a[k]);
      }
      fputs("\n", stdout);
      fflush(stdout);
      fputs("Would you like to reset the program to enter new numbers? (Yes or No)\n", stdout);
      fflush(stdout);
      if (scanf(" %c", &again) == 1) {
        drop_word();
      } else {
        again = 'n';
      }
    }
    if (clears) {
      fputs("\033[H\033[2J\033[3J", stdout);
    }
  }
  fputs("===============Build by Meskor Vandrel====================\n\n", stdout);
  fputs("Press any key to continue . . . \n", stdout);
  return fflush(stdout) == 0 ? 0 : 1;
}
