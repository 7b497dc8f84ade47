// The console jobs that differ between platforms: clearing the window and
// waiting for a key. Each writes through std::cout; the caller flushes its own
// text first.
#ifndef TENSORT_CONSOLE_H
#define TENSORT_CONSOLE_H

// Clears the console window. On Windows the command processor's "cls" does it;
// elsewhere a terminal gets the clear sequence and anything else gets nothing.
void clear_screen();

// Shows a "press any key" message and waits for one key press. On Windows the
// command processor's "PAUSE" does it. Elsewhere the wait happens only when
// standard input is a terminal; its modes are switched for the wait alone and
// given back as they were, also when a signal ends the program during the wait.
void wait_for_key();

#endif  // TENSORT_CONSOLE_H
