# The Linux archive's program, fully static, run in a root that holds nothing else (and its
# emulator, also static, where there is one), where the system lets anyone make one.
string(REGEX MATCH "^[^;]+" emulator "${EMULATOR}")
set(PROGRAM sh -c [[rm -rf root && mkdir root && cp "$@" root && cd root &&
                    exec unshare -r chroot . "/${1##*/}" ${2:+"/${2##*/}"}]] sh ${emulator} ${STATIC})
execute_process(COMMAND unshare -r sh -c [[test -f "$0"]] ${STATIC} RESULT_VARIABLE SKIP)
