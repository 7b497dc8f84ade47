# tensort on a pseudo-terminal: the clear after every reply, the pause, and the terminal's modes
# afterwards. Usage: terminal.py PROGRAM SCENARIO, where SCENARIO is one of the functions below.
import os, pty, select, signal, sys, termios, time

CLEAR = b"\033[H\033[2J\033[3J"
PAUSE = b"===============Build by Meskor Vandrel====================\r\n\r\nPress any key to continue . . . "


def soon(done, what):  # waits up to 10 s for done() to hold
    deadline = time.monotonic() + 10
    while not done():
        assert time.monotonic() < deadline, what


class Terminal:
    # A command on a pseudo-terminal of its own, which echoes keys and ends lines in CR LF.
    def __init__(self, *argv, TERM="xterm"):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.execvpe(argv[0], argv, {**os.environ, "TERM": TERM})
        self.out, self.seen, self.closed, self.modes = b"", 0, False, termios.tcgetattr(self.fd)

    def read(self):
        if select.select([self.fd], [], [], 0.02)[0]:
            try:
                self.out += os.read(self.fd, 65536)
            except OSError:  # all have closed the terminal, and what they wrote has been read
                self.closed = True

    def expect(self, text):  # waits for text after what was seen, and gives what came before it
        soon(lambda: text in self.out[self.seen:] or self.read(), f"no {text!r} in {self.out[self.seen:]!r}")
        between, _, rest = self.out[self.seen:].partition(text)
        self.seen = len(self.out) - len(rest)
        return between

    def cycle(self, reply):  # answers one cycle, and gives what came between the question and the clear
        self.expect(b"Enter a frist Number:\r\n")
        os.write(self.fd, b"3 1 2 4 5 6 7 8 9 10\n")
        self.expect(b"(Yes or No)\r\n")
        os.write(self.fd, reply)
        return self.expect(CLEAR)

    def to_pause(self, reply=b"n\n"):
        between = self.cycle(reply)
        self.expect(PAUSE)
        soon(lambda: not termios.tcgetattr(self.fd)[3] & termios.ICANON, "the pause kept line mode")
        return between

    def end(self):  # waits for the command to end; true when the terminal is then as it was
        soon(lambda: self.read() or self.closed, "it never ended")
        self.status = os.waitstatus_to_exitcode(os.waitpid(self.pid, 0)[1])
        return termios.tcgetattr(self.fd) == self.modes


def pause(program):
    # Keys typed ahead of the pause are dropped; then one key ends it, with no Enter and no echo.
    t = Terminal(program)
    assert t.cycle(b"y\n") == b"y\r\n" and t.to_pause(b"n\nq") == b"n\r\nq"
    time.sleep(0.3)
    assert os.waitpid(t.pid, os.WNOHANG)[0] == 0, "a key typed ahead ended the pause"
    os.write(t.fd, b"k")
    assert t.end() and t.status == 0 and t.out[t.seen:] == b"\r\n"


def ctrl_c(program):
    t = Terminal(program)
    t.to_pause()
    os.write(t.fd, b"\003")
    assert t.end() and t.status == -signal.SIGINT


def sigterm(program):
    t = Terminal(program)
    t.to_pause()
    os.kill(t.pid, signal.SIGTERM)
    assert t.end() and t.status == -signal.SIGTERM


if __name__ == "__main__":
    globals()[sys.argv[2]](sys.argv[1])
