# tensort on a pseudo-terminal: the clear after every reply, the pause, and the terminal's modes
# afterwards. Usage: terminal.py PROGRAM SCENARIO, where SCENARIO is one of the functions below.
import os, pty, select, shutil, signal, sys, termios, time

CLEAR = b"\033[H\033[2J\033[3J"
KEY = b"Press any key to continue . . . "
PAUSE = b"===============Build by Meskor Vandrel====================\r\n\r\n" + KEY


def soon(done, what):  # waits up to 10 s for done() to hold; what() says what did not happen
    deadline = time.monotonic() + 10
    while not done():
        assert time.monotonic() < deadline, what()


class Terminal:
    # A command on a pseudo-terminal of its own, which echoes keys and ends lines in CR LF.
    def __init__(self, *argv, **env):
        shutil.which(argv[0]) or sys.exit(f"skipped: no {argv[0]}")  # CTest reports it skipped
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.execvpe(argv[0], argv, {**os.environ, "TERM": "xterm", **env})
        self.out, self.seen, self.closed, self.modes = b"", 0, False, termios.tcgetattr(self.fd)

    def read(self):
        if select.select([self.fd], [], [], 0.02)[0]:
            try:
                self.out += os.read(self.fd, 65536)
            except OSError:  # all have closed the terminal, and what they wrote has been read
                self.closed = True

    def expect(self, text):  # waits for text after what was seen, and gives what came before it
        soon(lambda: text in self.out[self.seen:] or self.read(),
             lambda: f"no {text!r} in {self.out[self.seen:]!r}")
        between, _, rest = self.out[self.seen:].partition(text)
        self.seen = len(self.out) - len(rest)
        return between

    def to_pause(self, *replies, clear=CLEAR):  # a cycle a reply; gives what came before each clear
        between = []
        for reply in replies or (b"n\n",):
            self.expect(b"Enter a frist Number:\r\n")
            os.write(self.fd, b"3 1 2 4 5 6 7 8 9 10\n")
            self.expect(b"(Yes or No)\r\n")
            os.write(self.fd, reply)
            between.append(self.expect(clear))
        self.expect(PAUSE)
        self.waiting()
        return between

    def waiting(self):
        soon(lambda: not termios.tcgetattr(self.fd)[3] & termios.ICANON, lambda: "line mode kept")

    def end(self):  # waits for the command to end; true when the terminal is then as it was
        soon(lambda: self.read() or self.closed, lambda: "it never ended")
        self.status = os.waitstatus_to_exitcode(os.waitpid(self.pid, 0)[1])
        return termios.tcgetattr(self.fd) == self.modes


def pause(program):
    # Keys typed ahead of the pause are dropped; then one key ends it, with no Enter and no echo,
    # and Ctrl-S is a key like any other. Ctrl-Z changes nothing: run with no shell, the program
    # leads its terminal's session, where no stop can happen.
    t = Terminal(program)
    assert t.to_pause(b"y\n", b"n\nq") == [b"y\r\n", b"n\r\nq"]
    os.write(t.fd, b"\032")
    time.sleep(0.3)
    t.waiting()
    os.write(t.fd, b"\023")
    assert t.end() and t.status == 0 and t.out[t.seen:] == b"\r\n"


def interrupted(program, *container):
    # Ctrl-C at a prompt and at the pause, and SIGTERM at the pause, end the program as those
    # signals do, also as the first process of a PID namespace, where the system ignores them. On
    # a terminal that cannot take escape sequences, as TERM says, it writes none.
    if container and os.system(" ".join(container) + " true") != 0:
        sys.exit("skipped: this system allows no new PID namespace")
    for key, number, at_pause in ((b"\003", 2, 0), (b"\003", 2, 1), (None, 15, 1)):
        t = Terminal(*container, program, TERM="dumb")
        t.to_pause(clear=b"n\r\n") if at_pause else t.expect(b"frist Number:\r\n")
        os.write(t.fd, key) if key else os.killpg(os.tcgetpgrp(t.fd), number)
        assert t.end() and t.status == (128 + number if container else -number)
        assert b"\033" not in t.out


def container(program):
    interrupted(program, "unshare", "-r", "-p", "-f", "--mount-proc")


def output_to_file(program):
    # Standard output a file, standard input the terminal: the file gets no clear sequence, and
    # the pause waits for a key on the terminal all the same.
    t = Terminal("sh", "-c", 'exec "$0" >out.txt', program)
    os.write(t.fd, b"1 2 3 4 5 6 7 8 9 10 n\n")
    t.waiting()
    os.write(t.fd, b"x")
    assert t.end() and t.status == 0 and b"x" not in t.out
    assert open("out.txt", "rb").read().endswith(b"No)\n" + PAUSE.replace(b"\r", b"") + b"\n")


def job_control(program):
    # Under dash, which leaves the terminal's modes to its commands. Stopped by a signal it cannot
    # catch and continued in the background, the program stops at its read; brought back, the
    # pause asks again, on a fresh line. Each Ctrl-Z gives the shell its modes back. Killed while
    # stopped, the program ends at once, and leaves alone the terminal that the shell has taken.
    sh = Terminal("dash", "-i", PS1="$ ")
    os.write(sh.fd, program.encode() + b"\n")
    sh.to_pause()
    kill, stop = b"stty -echo; kill %1; kill -CONT %1\n", b"Stopped"
    for command, news in ((None, stop), (b"bg\n", stop), (b"fg\n", KEY), (b"\032", stop),
                          (b"fg\n", KEY), (b"\032", stop), (kill, b"Terminated")):
        os.write(sh.fd, command) if command else os.killpg(os.tcgetpgrp(sh.fd), signal.SIGSTOP)
        # dash tells of a job in the background only before a prompt, which an empty line brings
        soon(lambda: sh.read() or news in sh.out[sh.seen:] or command in (b"bg\n", kill) and
             os.write(sh.fd, b"\n") and time.sleep(0.2), lambda: repr((news, sh.out[sh.seen:])))
        between = sh.expect(news)
        if news == KEY:  # the pause asks again, on a fresh line
            assert between.endswith(b"\r\n\r\n")
            sh.waiting()
        assert command != b"\032" or termios.tcgetattr(sh.fd) == sh.modes
    assert not termios.tcgetattr(sh.fd)[3] & termios.ECHO


if __name__ == "__main__":
    globals()[sys.argv[2]](sys.argv[1])
