// The program's standard streams: std::cin and std::cout read and write
// through buffers of the program's own, which keep the reason of the first
// read and the first write that failed.
#ifndef TENSORT_STREAMS_H
#define TENSORT_STREAMS_H

// Puts the program's buffers under std::cin and std::cout.
void open_streams();

// Puts what is left on the screen, then says on standard error why a read or
// a write failed, if one did. Gives the exit status: 1 after a failure, else 0.
int close_streams();

#endif  // TENSORT_STREAMS_H
