// The console jobs that differ between platforms: reading and writing the
// standard streams, clearing the window and waiting for a key. Each platform
// has a file of its own, console_PLATFORM.cpp, and the build takes the one for
// its target.
#ifndef TENSORT_CONSOLE_H
#define TENSORT_CONSOLE_H

// What the pause says, in the words of the Windows command processor's
// "PAUSE", after a line end (skip it to start where the cursor is): written
// again after a stop, it starts on a fresh line.
inline constexpr char kPauseMessage[] = "\nPress any key to continue . . . ";

// Clears a terminal that takes escape sequences: the cursor home, the screen
// erased, and the lines scrolled off it as well.
inline constexpr char kClearSequence[] = "\033[H\033[2J\033[3J";

// Gets the console ready, once, before anything is read or written: a reader
// that has gone away makes a write fail instead of ending the program, it is
// settled whether clearing the window writes anything, and, but on Windows, the
// signals that end or stop the program are handled from then on: they give the
// terminal back, and one that ends a program ends this one also where the
// system would ignore it (the first process of a container).
void start_console();

// Reads at most `size` bytes of standard input, waiting for at least one.
// Gives the count, 0 at the end of the input, or -1 with errno set.
int read_input(char* buffer, int size);

// Writes `size` bytes to standard output. False, with errno set, when a write
// failed.
bool write_output(const char* data, int size);

// Clears the console window. On Windows the command processor's "cls" does it
// when standard output is a console; elsewhere a terminal that takes escape
// sequences gets the clear sequence through std::cout; anything else gets
// nothing.
void clear_screen();

// Shows a "press any key" message and waits for one key press, only where
// standard input is a console or a terminal: elsewhere the message is written
// alone, with a line end. On Windows the command processor's "PAUSE" does it.
// Elsewhere the terminal's modes are switched for the wait alone and given
// back as they were, also when a signal ends or stops the program during
// the wait. Where the system discards a stop, the wait goes on as it was; where
// it ignores a signal that ends the program, the program ends all the same.
// Nothing waits once standard output can no longer be written.
void wait_for_key();

#endif  // TENSORT_CONSOLE_H
