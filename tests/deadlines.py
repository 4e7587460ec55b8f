"""How long the tests' waits may last, by kind, and how long each took. Every harness takes
its deadlines from here. They are generous: a program under the emulator on a busy machine
has taken ten times its usual time, and only a fault should end a wait."""
import os
import time

DEADLINES = {  # in seconds
    "show": 60,    # a program or page just started, to its first window or screen
    "answer": 30,  # what an action leads to: a text drawn, a picture shown, the program idle
    "end": 60,     # a program that should end, to its exit
    "helper": 60,  # a helper (Xvfb, the probe, the browser, a server) to its first word
    "work": 120,   # a long piece of work: a check of 20 MB
    "duel": 300,   # a whole duel played to its end
}


def waited(kind, since):
    """Notes a wait of that kind that began at `since` and has just ended, for the test
    command's slowest waits."""
    log = os.environ.get("VORRAK_WAIT_LOG")
    if log:
        with open(log, "a") as f:
            f.write(f"{kind} {time.time() - since:.1f} {os.environ.get('VORRAK_TEST', '?')}\n")
