#!/usr/bin/env python3
"""The release is the same bytes from the same source.
reproducible.py again: builds the release a second time, in a second clone of the working
  tree in another folder with the clock two minutes on, and compares it byte for byte with
  build/release (tools/release.sh has made it).
reproducible.py sums: SHA256SUMS in build/release checks out."""
import glob
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", ".."))
RELEASE = os.path.join(ROOT, "build", "release")


def artifacts(release):
    setups = glob.glob(os.path.join(release, "vorrak-*-setup.exe"))
    if len(setups) != 1:
        sys.exit(f"reproducible: expected one installer in {release}, found {len(setups)}")
    v = os.path.basename(setups[0])[len("vorrak-"):-len("-setup.exe")]
    return [f"vorrak-{v}/vorrak.exe", f"vorrak-{v}/vorcheck.exe", f"vorrak-{v}/vormatch.exe",
            f"vorrak-{v}/vordata.exe",
            f"vorrak-{v}-setup.exe", f"vorrak-{v}-win32.zip", f"vorrak-{v}-web.zip"]


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return i
    return min(len(a), len(b))


def rebuild(folder):
    """The working tree as it is, committed or not, built again two minutes later."""
    clone = os.path.join(folder, "clone")
    subprocess.run(["git", "clone", "-q", "--no-hardlinks", ROOT, clone], check=True)
    changes = subprocess.run(["git", "-C", ROOT, "diff", "HEAD", "--binary"], check=True,
                             capture_output=True).stdout
    if changes:
        subprocess.run(["git", "-C", clone, "apply"], input=changes, check=True)
    # Only the clock moves on: faketime would move the files' times as read too. The
    # sanitizers' runtime hangs under it; the data tools make the same bytes without.
    env = dict(os.environ, NO_FAKE_STAT="1", VORRAK_SANITIZE="OFF")
    env.pop("SOURCE_DATE_EPOCH", None)
    for step in (["tools/build.sh", "--release"], ["tools/release.sh", "--no-build"]):
        r = subprocess.run(["faketime", "-f", "+2m", *step], cwd=clone, env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        if r.returncode:
            sys.exit(f"reproducible: {' '.join(step)} failed in the clone:\n{r.stderr[-3000:]}")
    return os.path.join(clone, "build", "release")


def again():
    folder = tempfile.mkdtemp(prefix="vorrak-rebuild-")
    try:
        second = rebuild(folder)
        differ = []
        for name in artifacts(RELEASE):
            with open(os.path.join(RELEASE, name), "rb") as f:
                a = f.read()
            with open(os.path.join(second, name), "rb") as f:
                b = f.read()
            print(f"{hashlib.sha256(a).hexdigest()}  {name}")
            if a != b:
                differ.append(f"{name}: differs from byte {first_difference(a, b)} "
                              f"({len(a)} and {len(b)} bytes); built again: {hashlib.sha256(b).hexdigest()}")
        for line in differ:
            print(f"reproducible: {line}")
        print(f"reproducible: {len(artifacts(RELEASE)) - len(differ)} of {len(artifacts(RELEASE))} the same")
        return 1 if differ else 0
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def sums():
    return subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=RELEASE).returncode


if __name__ == "__main__":
    sys.exit({"again": again, "sums": sums}[sys.argv[1]]())
