# Plays a scenario of tests/terminal/ on pseudo-terminals. Usage: terminal.py SCENARIO PROGRAM...,
# where PROGRAM is the program's command line (an emulator first, under one). A scenario has a step
# a line: a word, a space and its text, written with Python's escapes (\r, \003, \x20). The steps
# are the methods below; every wait fails after 10 s.
import os, pty, select, shlex, shutil, signal, subprocess, sys, termios, time


def soon(done, what):  # between tries, the CPU is left to the program waited for
    deadline = time.monotonic() + 10
    while not done():
        assert time.monotonic() < deadline, what()
        time.sleep(0.005)


class Steps:
    program = sys.argv[2:]  # the program's command line

    def start(self, text, _):  # runs a command on a terminal of its own; {program}: the program
        argv = [word for arg in shlex.split(text) for word in (self.program if arg == "{program}" else [arg])]
        self.pid, self.fd = pty.fork()
        if self.pid == 0:  # a command that cannot start says why on the terminal
            os.execvpe(argv[0], argv, {**os.environ, "TERM": "xterm", "LC_ALL": "C"})
        self.out, self.seen, self.closed, self.initial = b"", 0, False, termios.tcgetattr(self.fd)

    def needs(self, text, _):  # the scenario is skipped unless this shell command succeeds
        subprocess.run(text, shell=True, capture_output=True).returncode == 0 or sys.exit(f"skipped: no {text}")

    def tool(self, text, _):  # "PROGRAM PACKAGE": skipped without the program, and failed under CI
        program, package = text.split()
        if not shutil.which(program):
            sys.exit(f"{'missing under CI' if os.environ.get('CI') else 'skipped'}: no {program} (Debian's {package})")

    def native(self, text, _):  # under an emulator, the scenario ends here, skipped for this reason
        len(self.program) == 1 or sys.exit(f"skipped under an emulator: {text}")

    def send(self, _, data):  # types the text; {program}: the program, quoted for a shell
        os.write(self.fd, data)

    def expect(self, _, data, poke=False):  # waits for the text after what was seen so far
        soon(lambda: data in self.shown() or self.read() or poke and os.write(self.fd, b"\n") and time.sleep(0.2),
             lambda: f"no {data!r} in {self.shown()!r}")
        self.seen = self.out.index(data, self.seen) + len(data)

    def poke(self, text, data):  # the same, typing an empty line every 0.2 s: a shell's prompt
        self.expect(text, data, poke=True)

    def next(self, _, data):  # what the terminal shows next is the text
        soon(lambda: len(self.shown()) >= len(data) or self.read(), lambda: f"only {self.shown()!r}")
        assert self.shown().startswith(data), f"{self.shown()!r} instead of {data!r}"
        self.seen += len(data)

    def signal(self, text, _):  # sends the signal to the terminal's foreground process group
        os.killpg(os.tcgetpgrp(self.fd), getattr(signal, "SIG" + text))

    def waits(self, text, _):  # after this many seconds the command is still running
        time.sleep(float(text))
        assert os.waitpid(self.pid, os.WNOHANG)[0] == 0, "it has ended"

    def lflag(self, text, _):  # waits until the local mode (ICANON, ECHO; -ECHO: off) holds
        flag = getattr(termios, text.lstrip("-"))
        soon(lambda: bool(termios.tcgetattr(self.fd)[3] & flag) != text.startswith("-"), lambda: "not so")

    def modes(self, *_):  # waits until the terminal's modes are as they were at the start
        soon(lambda: termios.tcgetattr(self.fd) == self.initial, lambda: "other modes")

    def ends(self, text, _):  # the command ends with this status (-N: by signal N), the terminal's
        # modes as they were, and nothing shown after what was seen
        soon(lambda: self.read() or self.closed, lambda: "it never ended")
        status = os.waitstatus_to_exitcode(os.waitpid(self.pid, 0)[1])
        assert (status, self.shown()) == (int(text), b""), f"status {status}, then {self.shown()!r}"
        self.modes()

    def never(self, _, data):  # the terminal has never shown the text
        assert data not in self.out, f"{data!r} shown"

    def file(self, _, data):  # the file named first ends with the rest of the text
        name, _, ending = data.partition(b" ")
        assert open(name, "rb").read().endswith(ending), f"{name} ends otherwise"

    def shown(self):
        return self.out[self.seen:]

    def read(self):  # adds what the terminal shows; closed once all have closed it and it is read
        if select.select([self.fd], [], [], 0.02)[0]:
            try:
                data = os.read(self.fd, 65536)
            except OSError:  # the end on Linux; macOS gives an empty read
                data = b""
            self.out += data
            self.closed = self.closed or not data


steps = Steps()
for number, line in enumerate(open(sys.argv[1], encoding="utf-8"), 1):
    step, _, text = line.rstrip("\n").partition(" ")
    data = text.replace("{program}", shlex.join(steps.program)).encode().decode("unicode_escape")
    try:
        step.startswith("#") or step == "" or getattr(steps, step)(text, data.encode("latin-1"))
    except AssertionError as failure:
        sys.exit(f"{sys.argv[1]}:{number}: {step} {text}: {failure}")
