// Set up at the start of every run of the program, before it starts. Only Emscripten's documented
// settings and Module hooks are used, so that any Emscripten from the lowest that the build takes
// makes the same program.

// main waits for its console, so a run cannot hand main's status on as a program's that returns at
// once: the run is started here instead, and once main has returned, the C library's exit ends it
// with main's status. That throws, as an exit does here, what is caught below: the exit itself.
Module.noInitialRun = true;
Module.onRuntimeInitialized = () => {
  let exited = false;
  Module.ccall("main", "number", [], [], { async: true })
    .then((status) => ((exited = true), Module._exit(status)))
    .catch((error) => {
      if (!exited) throw error;
    });
};

// The program's WebAssembly is compiled once: the caller may keep the compiled module, a promise,
// in `Module.compiled` (an object, the same for every run), as the page does, whose tensort.html
// starts the compile as it loads; each run is an instance of it. Under Node.js, it is
// tensort.wasm beside this file.
Module.instantiateWasm = (imports, receive) => {
  const compiled = Module.compiled || {};
  const file = () => require("fs").readFileSync(require("path").join(__dirname, "tensort.wasm"));
  compiled.module = compiled.module || WebAssembly.compile(file());
  // What keeps it from starting goes to the caller's cannotStart (the page's), or else is thrown.
  compiled.module.then((module) => WebAssembly.instantiate(module, imports)).then(receive, (error) => {
    if (!Module.cannotStart) throw error;
    Module.cannotStart(error);
  });
  return {};
};

// The C library's numbers of the errors that a console may meet, by name, which the program gives
// at its start.
Module.errors = {};

// The console under Node.js, which the tests run the program with: the process's standard
// streams, read and written as they are, byte for byte. The page brings a console of its own.
if (!Module.console && typeof process === "object") {
  const fs = require("fs");
  const tty = require("tty");
  // An error as the program's C library numbers it: -errno.
  const failed = (error) => -(Module.errors[error.code] ?? Module.errors.EIO);
  const term = process.env.TERM;
  Module.console = {
    clears: tty.isatty(1) && term !== undefined && term !== "" && term !== "dumb",
    waits: tty.isatty(0),
    read(bytes) {
      for (;;) {
        try {
          return fs.readSync(0, bytes, 0, bytes.length, null);
        } catch (error) {
          if (error.code === "EOF") return 0;
          if (error.code !== "EAGAIN") return failed(error);
        }
      }
    },
    write(bytes) {
      try {
        return fs.writeSync(1, bytes);
      } catch (error) {
        return failed(error);
      }
    },
    // One key on the terminal, without line mode and echo, the terminal's modes given back, also
    // when Ctrl-C (or a signal to end) comes meanwhile.
    key() {
      const script = 's=$(stty -g); trap \'stty "$s"; exit 130\' INT HUP TERM; ' +
        'stty -icanon -echo min 1 time 0; dd bs=1 count=1; stty "$s"';
      require("child_process").spawnSync("sh", ["-c", script], { stdio: ["inherit", "ignore", "ignore"] });
    },
  };
}
