# Standard input a pipe that stays open after the last reply, as a grader may hold it: the program
# ends all the same, as soon as it has written its closing line. The pipe is a POSIX shell's named
# pipe: the case runs under Wine only.
set(PROGRAM sh -c [[rm -f pipe && mkfifo pipe && { "$@" <pipe & } && exec 3>pipe && cat >&3 && wait $!]]
    sh ${PROGRAM})
execute_process(COMMAND sh -c [[test -n "$0" && command -v mkfifo]] "${EMULATOR}" RESULT_VARIABLE SKIP)
