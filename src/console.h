// The console jobs that differ between platforms: reading and writing the
// standard streams, clearing the window and waiting for a key. Each platform
// has a file of its own, console_PLATFORM.cpp, and the build takes the one for
// its target.
#ifndef TENSORT_CONSOLE_H
#define TENSORT_CONSOLE_H

// What the pause says, in the words of the Windows command processor's
// "PAUSE".
inline constexpr char kPauseText[] = "Press any key to continue . . . ";

// Gets the console ready, once, before anything is read or written: a reader
// that has gone away makes a write fail instead of ending the program, and it
// is settled whether clearing the window writes anything. A terminal is given
// back as it was, whatever signal comes.
void start_console();

// Reads at most `size` bytes of standard input, waiting for at least one.
// Gives the count, 0 at the end of the input, or -1 with errno set.
int read_input(char* buffer, int size);

// Writes at most `size` bytes, and at least one, to standard output. Gives the
// count written, or -1 with errno set.
int write_output(const char* data, int size);

// Clears the console window. On Windows the command processor's "cls" does it
// when standard output is a console; elsewhere a terminal that takes escape
// sequences gets the clear sequence through std::cout; anything else gets
// nothing.
void clear_screen();

// Shows a "press any key" message and waits for one key press, only where
// standard input is a console or a terminal, as it finds when it is called
// (the page's console says so at the start): elsewhere the message is
// written alone, with a line end. On Windows the command processor's "PAUSE"
// does it. Nothing waits once standard output can no longer be written.
void wait_for_key();

// The clear and the pause of a console that takes escape sequences and that
// the program waits on itself, as a terminal and the page are: the clear
// sequence where `clears`; the pause's text, then, where `waits`, one key that
// `take_key` waits for, and a line end.
void clear_with_sequence(bool clears);
void pause_for_key(bool waits, void (*take_key)());

#endif  // TENSORT_CONSOLE_H
