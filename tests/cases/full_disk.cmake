# Standard output is a device that is always full.
set(PROGRAM sh -c "exec \"\$0\" >/dev/full" ${PROGRAM})
set(NEEDS sh /dev/full)
