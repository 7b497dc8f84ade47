# Standard input is closed.
set(PROGRAM sh -c "exec \"\$0\" <&-" ${PROGRAM})
set(NEEDS sh)
