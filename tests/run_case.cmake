# Runs the program on one case and checks what it did:
#   cmake -DPROGRAM=path/to/tensort -DCASE=dir/NAME [-DEMULATOR=command] -P run_case.cmake
# NAME.in is fed to standard input, and standard output must equal NAME.out. With NAME.err,
# standard error must equal it and the status must be 1; without, standard error must be empty and
# the status 0. NAME.cmake, when there is one, can change how the case runs: PROGRAM (a command
# line), INPUT (a file) or INPUT_TEXT (the input itself), READER (what reads standard output),
# TIMEOUT (in seconds). Scratch files go in the working directory.
set(INPUT ${CASE}.in)
# Output is read through a cap, so that a program that writes without end soon meets a closed pipe
# instead of filling memory until its time runs out.
set(READER head -c 1000000)
set(TIMEOUT 10)
# A terminal that takes escape sequences, so that one written into a pipe or a file shows.
set(ENV{TERM} xterm)
include(${CASE}.cmake OPTIONAL)
get_filename_component(name ${CASE} NAME)
if(DEFINED INPUT_TEXT)
  set(INPUT ${name}.in)
  file(WRITE ${INPUT} "${INPUT_TEXT}")
endif()
execute_process(COMMAND ${EMULATOR} ${PROGRAM} COMMAND ${READER} INPUT_FILE ${INPUT}
                OUTPUT_FILE ${name}.out ERROR_VARIABLE error RESULTS_VARIABLE status TIMEOUT ${TIMEOUT})
list(GET status 0 status)
set(expected_error "")
if(EXISTS ${CASE}.err)
  file(READ ${CASE}.err expected_error)
endif()
string(COMPARE NOTEQUAL "${expected_error}" "" expected_status)

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${CASE}.out ${name}.out RESULT_VARIABLE differs)
if(differs)
  execute_process(COMMAND diff -u ${CASE}.out ${name}.out)
  message(SEND_ERROR "standard output differs from ${CASE}.out")
endif()
if(NOT status STREQUAL expected_status OR NOT error STREQUAL expected_error)
  message(SEND_ERROR "exit status ${status} instead of ${expected_status}, with standard error\n"
                     "${error}\ninstead of\n${expected_error}")
endif()
