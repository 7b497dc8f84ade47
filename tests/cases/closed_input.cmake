# Standard input is closed.
set(PROGRAM sh -c "exec \"\$@\" <&-" sh ${PROGRAM})
execute_process(COMMAND sh -c true RESULT_VARIABLE SKIP)
