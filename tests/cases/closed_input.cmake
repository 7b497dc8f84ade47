# Standard input is closed. Node.js, which runs the program built to WebAssembly, opens /dev/null
# in its place: there the case cannot be made.
set(PROGRAM sh -c "exec \"\$@\" <&-" sh ${PROGRAM})
if(EMULATOR MATCHES "node")
  set(SKIP "Node.js gives a closed standard input /dev/null")
endif()
