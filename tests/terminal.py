# tensort on a pseudo-terminal: the clear after every reply, the pause, and the terminal's modes
# afterwards. Usage: terminal.py PROGRAM SCENARIO, where SCENARIO is one of the functions below.
import os, pty, select, signal, sys, termios, time

CLEAR = b"\033[H\033[2J\033[3J"
KEY = b"Press any key to continue . . . "
PAUSE = b"===============Build by Meskor Vandrel====================\r\n\r\n" + KEY


def soon(done, what):  # waits up to 10 s for done() to hold
    deadline = time.monotonic() + 10
    while not done():
        assert time.monotonic() < deadline, what


class Terminal:
    # A command on a pseudo-terminal of its own, which echoes keys and ends lines in CR LF.
    def __init__(self, *argv, **env):
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
        soon(lambda: text in self.out[self.seen:] or self.read(), f"no {text!r} in {self.out[self.seen:]!r}")
        between, _, rest = self.out[self.seen:].partition(text)
        self.seen = len(self.out) - len(rest)
        return between

    def cycle(self, reply, clear=CLEAR):  # answers a cycle; gives what came between question and clear
        self.expect(b"Enter a frist Number:\r\n")
        os.write(self.fd, b"3 1 2 4 5 6 7 8 9 10\n")
        self.expect(b"(Yes or No)\r\n")
        os.write(self.fd, reply)
        return self.expect(clear)

    def to_pause(self, reply=b"n\n", clear=CLEAR):
        between = self.cycle(reply, clear)
        self.expect(PAUSE)
        self.waiting()
        return between

    def waiting(self):
        soon(lambda: not termios.tcgetattr(self.fd)[3] & termios.ICANON, "the pause kept line mode")

    def end(self):  # waits for the command to end; true when the terminal is then as it was
        soon(lambda: self.read() or self.closed, "it never ended")
        self.status = os.waitstatus_to_exitcode(os.waitpid(self.pid, 0)[1])
        return termios.tcgetattr(self.fd) == self.modes


def pause(program):
    # Keys typed ahead of the pause are dropped; then one key ends it, with no Enter and no echo,
    # and Ctrl-S is a key like any other. Ctrl-Z changes nothing: run with no shell, the program
    # leads its terminal's session, where no stop can happen.
    t = Terminal(program)
    assert t.cycle(b"y\n") == b"y\r\n" and t.to_pause(b"n\nq") == b"n\r\nq"
    os.write(t.fd, b"\032")
    time.sleep(0.3)
    assert os.waitpid(t.pid, os.WNOHANG)[0] == 0, "a key typed ahead ended the pause"
    t.waiting()
    os.write(t.fd, b"\023")
    assert t.end() and t.status == 0 and t.out[t.seen:] == b"\r\n"


def interrupted(program, *container):
    # Ctrl-C at a prompt and at the pause, and SIGTERM at the pause, end the program as those
    # signals do, also as the first process of a PID namespace, where the system ignores them.
    for key, number, at_pause in ((b"\003", 2, 0), (b"\003", 2, 1), (None, 15, 1)):
        t = Terminal(*container, program)
        t.to_pause() if at_pause else t.expect(b"frist Number:\r\n")
        os.write(t.fd, key) if key else os.killpg(os.tcgetpgrp(t.fd), number)
        assert t.end() and t.status in ((128 + number,) if container else (-number,)), t.status


def container(program):
    unshare = ("unshare", "-r", "-p", "-f", "--mount-proc")
    if os.system(" ".join(unshare) + " true") != 0:
        print("skipped: this system allows no new PID namespace")
        sys.exit(77)
    interrupted(program, *unshare)


def output_to_file(program):
    # Standard output a file, standard input the terminal: the file gets no clear sequence, and
    # the pause waits for a key on the terminal all the same.
    t = Terminal("sh", "-c", 'exec "$0" >out.txt', program)
    os.write(t.fd, b"1 2 3 4 5 6 7 8 9 10 n\n")
    t.waiting()
    os.write(t.fd, b"x")
    assert t.end() and t.status == 0 and b"x" not in t.out
    assert open("out.txt", "rb").read().endswith(b"(Yes or No)\n" + PAUSE.replace(b"\r", b"") + b"\n")


class Shell(Terminal):
    # An interactive shell with job control on the terminal, which has started the program.
    def __init__(self, program, *shell, **env):
        super().__init__(*(shell or ("bash", "--norc", "--noprofile", "-i")), PS1="$ ", **env)
        self.stty = self.ask(b"$(stty -g)")  # the modes that the shell gives its commands
        os.write(self.fd, program.encode() + b"\n")

    def ask(self, words):  # what the shell makes of words; the quotes keep the echo from matching
        os.write(self.fd, b"echo an''swer=" + words + b"\n")
        self.expect(b"answer=")
        return self.expect(b"\r\n")

    def news(self, text):  # waits for the shell to tell text of a job in the background
        # bash can miss a change in a job (sleep's too), and tells only before a prompt: the end of
        # a subshell makes it look again.
        soon(lambda: self.read() or text in self.out[self.seen:] or time.sleep(0.2) or
             os.write(self.fd, b"(:)\n") < 0, f"no news of the job in {self.out[self.seen:]!r}")
        self.expect(text)

    def fg(self):  # brings the job back: the pause asks again, on a fresh line
        os.write(self.fd, b"fg\n")
        assert self.expect(KEY).endswith(b"\r\n\r\n")
        self.waiting()


def ctrl_z_kill(program):
    # Under a shell that leaves the terminal's modes to its commands, each Ctrl-Z at the pause
    # gives the shell its modes back; killed while stopped, the program ends at once, and leaves
    # alone the terminal that the shell has taken back.
    sh = Shell(program, "dash", "-i")
    sh.to_pause()
    for again in (True, False):
        os.write(sh.fd, b"\032")
        sh.expect(b"Stopped")
        assert sh.ask(b"$(stty -g)") == sh.stty
        again and sh.fg()
    os.write(sh.fd, b"stty -echo; kill %1; kill -CONT %1\n")
    sh.news(b"Terminated")
    assert not termios.tcgetattr(sh.fd)[3] & termios.ECHO


def stop_bg_fg(program):
    # Stopped by a signal it cannot catch and continued in the background, the program stops at
    # its read; brought back, it takes one key. On a terminal that cannot take escape sequences,
    # as TERM says, it writes none.
    sh = Shell(program, TERM="dumb")
    sh.to_pause(clear=b"n\r\n")
    os.killpg(os.tcgetpgrp(sh.fd), signal.SIGSTOP)
    sh.expect(b"Stopped")
    os.write(sh.fd, b"bg\n")
    sh.news(b"Stopped")
    sh.fg()
    os.write(sh.fd, b"\026")  # Ctrl-V, a key like any other
    sh.expect(b"$ ")
    assert sh.ask(b"$? $(stty -g)") == b"0 " + sh.stty and b"\033" not in sh.out


if __name__ == "__main__":
    globals()[sys.argv[2]](sys.argv[1])
