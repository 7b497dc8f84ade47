# Runs the program on one case and checks what it did:
#   cmake -DPROGRAM=[emulator;]path/to/tensort -DCASE=dir/NAME [-DEMULATOR=emulator]
#         [-DSTATIC=path/to/static/tensort] -P run_case.cmake
# NAME.in is fed to standard input, and standard output must equal NAME.out. With NAME.err,
# standard error must equal it and the status must be 1; without, standard error must be empty and
# the status 0. NAME.cmake, when there is one, can change how the case runs: PROGRAM (the command
# line), INPUT (the input file), READER (COMMAND, then what reads standard output), SKIP (true where
# the case cannot run: what it needs is missing or not allowed; it says "skipped:" and CTest reports
# it skipped). Each run has 10 seconds. Files that a case makes, its input among them, go in the
# working directory.
set(INPUT ${CASE}.in)
# Output is read through a cap where there is one, so that a program that writes without end soon
# meets a closed pipe instead of filling memory until its time runs out.
find_program(HEAD head)
if(HEAD)
  set(READER COMMAND ${HEAD} -c 1000000)
endif()
# A terminal that takes escape sequences, so that one written into a pipe or a file shows.
set(ENV{TERM} xterm)
include(${CASE}.cmake OPTIONAL)
if(SKIP)
  message("skipped: what this case needs is not here (${SKIP})")
  return()
endif()
get_filename_component(name ${CASE} NAME)
execute_process(COMMAND ${PROGRAM} ${READER} INPUT_FILE ${INPUT} OUTPUT_FILE ${name}.out
                ERROR_VARIABLE error RESULTS_VARIABLE status TIMEOUT 10)
list(GET status 0 status)
if(EXISTS ${CASE}.err)
  file(READ ${CASE}.err expected_error)
endif()
string(COMPARE NOTEQUAL "${expected_error}" "" expected_status)

# Compared as bytes: CMake's text drops every CR.
file(READ ${CASE}.out expected HEX)
file(READ ${name}.out output HEX)
if(NOT output STREQUAL expected)
  execute_process(COMMAND diff -u ${CASE}.out ${name}.out)  # shows nothing where there is no diff
  message(SEND_ERROR "standard output differs from ${CASE}.out")
endif()
if(NOT status STREQUAL expected_status OR NOT error STREQUAL "${expected_error}")
  message(SEND_ERROR "exit status ${status} instead of ${expected_status}, with standard error\n"
                     "${error}\ninstead of\n${expected_error}")
endif()
