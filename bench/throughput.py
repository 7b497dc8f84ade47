#!/usr/bin/env python3
"""Measures tensort fed through pipes against bench/baseline.c, a plain C program that holds the
same dialogue with stdio and a flush before each read. Run by hand from the project's root:

    python3 bench/throughput.py [cycles] [rounds]

It builds tensort (Release) and the baseline, makes an input of `cycles` cycles (ten random
numbers on a line, then y; the last cycle answered n), and prints for tensort and the baseline:
the time of a whole run (the median of `rounds` runs, taken in turns A B A B ...), write calls per
cycle (by strace -c, where strace is installed), the peak memory after 1 cycle and after all of
them, and the time to the first prompt. With clang++ and libc++ at hand, tensort built against
libc++ is measured as well, and on Linux the archive's static program and the .deb's.
"""
import os, random, select, shutil, statistics, subprocess, sys, tempfile, threading, time

CYCLES = int(sys.argv[1]) if len(sys.argv) > 1 else 100_000
ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 5
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WORK = os.path.join(ROOT, "build-bench")


def build():
    programs = {}
    def cmake(name, *options):
        subprocess.run(["cmake", "-S", ROOT, "-B", os.path.join(WORK, name), "-DCMAKE_BUILD_TYPE=Release",
                        "-DBUILD_TESTING=OFF", *options], check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", os.path.join(WORK, name)], check=True, stdout=subprocess.DEVNULL)
        programs[name] = os.path.join(WORK, name, "tensort")
    cmake("tensort")
    static = os.path.join(WORK, "tensort", "static", "tensort")
    if os.path.exists(static):  # the Linux archive's program, linked fully statically
        programs["tensort-static"] = static
        cmake("tensort-deb", "-DTENSORT_STATIC_RUNTIME=OFF")  # the .deb's, linked to libstdc++6
    if shutil.which("clang++"):
        cmake("tensort-libc++", "-DCMAKE_CXX_COMPILER=clang++", "-DCMAKE_CXX_FLAGS=-stdlib=libc++")
    baseline = os.path.join(WORK, "baseline")
    subprocess.run([os.environ.get("CC", "cc"), "-O2", "-o", baseline, os.path.join(ROOT, "bench", "baseline.c")],
                   check=True)
    programs["baseline"] = baseline
    return programs


def make_input(cycles, path, last="n"):
    rng = random.Random(20261206)
    with open(path, "w") as out:
        for k in range(cycles):
            numbers = " ".join(str(rng.randint(-99999, 99999)) for _ in range(10))
            out.write(f"{numbers}\n{'y' if k < cycles - 1 else last}\n")


def run(program, input_path):
    """Runs the program with the input on a pipe and its output into a pipe that is read to the
    end; gives the seconds it took."""
    with open(input_path, "rb") as data:
        start = time.perf_counter()
        process = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        feeder = subprocess.Popen(["cat"], stdin=data, stdout=process.stdin)
        process.stdin.close()
        while process.stdout.read(1 << 16):
            pass
        status = process.wait()
        seconds = time.perf_counter() - start
        feeder.wait()
    assert status == 0, f"{program} failed"
    return seconds


def peak_memory(program, input_path):
    """The program's peak memory in MiB (VmHWM, where /proc has it) once it has taken all of the
    input, whose last reply is y, and waits for more."""
    process = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    def feed():
        with open(input_path, "rb") as data:
            shutil.copyfileobj(data, process.stdin)
        process.stdin.flush()
    feeder = threading.Thread(target=feed)
    feeder.start()
    tail = b""
    while feeder.is_alive() or not tail.endswith(b"Enter a frist Number:\n"):
        if select.select([process.stdout], [], [], 0.2)[0]:
            tail = (tail + os.read(process.stdout.fileno(), 1 << 16))[-64:]
    time.sleep(0.2)
    try:
        with open(f"/proc/{process.pid}/status") as status:
            peak = next(int(line.split()[1]) / 1024 for line in status if line.startswith("VmHWM:"))
    except OSError:
        peak = None
    process.stdin.close()
    process.stdout.read()
    process.wait()
    return peak


def writes_per_cycle(program, input_path, cycles):
    if not shutil.which("strace"):
        return None
    with open(input_path, "rb") as data, tempfile.NamedTemporaryFile("r") as report:
        subprocess.run(["strace", "-c", "-e", "trace=write", "-o", report.name, program], stdin=data,
                       stdout=subprocess.DEVNULL, check=True)
        for line in report:
            if line.split() and line.split()[-1] == "write":
                return int(line.split()[3]) / cycles
    return 0


def first_prompt(program):
    """Seconds from starting the program until its first prompt has arrived on a pipe."""
    times = []
    for _ in range(20):
        start = time.perf_counter()
        process = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        seen = b""
        while b"Enter a frist Number:\n" not in seen:
            seen += os.read(process.stdout.fileno(), 4096)
        times.append(time.perf_counter() - start)
        process.stdin.close()
        process.stdout.read()
        process.wait()
    return statistics.median(times)


def main():
    programs = build()
    with tempfile.TemporaryDirectory() as scratch:
        whole, one, many = (os.path.join(scratch, name) for name in ("whole.in", "one.in", "many.in"))
        make_input(CYCLES, whole)
        make_input(1, one, last="y")
        make_input(CYCLES, many, last="y")
        times = {name: [] for name in programs}
        for _ in range(ROUNDS):
            for name, program in programs.items():
                times[name].append(run(program, whole))
        base = statistics.median(times["baseline"])
        print(f"{CYCLES} cycles through pipes, median of {ROUNDS} runs taken in turns")
        print(f"{'':16}{'time':>9}{'vs C':>7}{'writes/cycle':>14}{'peak 1':>10}{'peak all':>10}{'first prompt':>14}")
        for name, program in programs.items():
            median = statistics.median(times[name])
            writes = writes_per_cycle(program, whole, CYCLES)
            print(f"{name:16}{median:8.3f}s{median / base:7.2f}"
                  f"{'-' if writes is None else f'{writes:.2f}':>14}"
                  f"{peak_memory(program, one):8.2f}Mi{peak_memory(program, many):8.2f}Mi"
                  f"{first_prompt(program) * 1000:12.2f}ms")


if __name__ == "__main__":
    main()
