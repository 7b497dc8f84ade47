# Standard output is a pipe whose reader has gone, and the program has more to write than a pipe
# holds, so a write fails whenever the reader ends.
string(REPEAT "1 2 3 4 5 6 7 8 9 10 y\n" 1000 cycles)
file(WRITE closed_pipe.in "${cycles}")
set(INPUT closed_pipe.in)
set(READER COMMAND ${CMAKE_COMMAND} -E true)
