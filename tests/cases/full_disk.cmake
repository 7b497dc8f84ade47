# Standard output is a device that is always full.
set(PROGRAM sh -c "exec \"\$@\" >/dev/full" sh ${PROGRAM})
execute_process(COMMAND sh -c "test -w /dev/full" RESULT_VARIABLE SKIP)
