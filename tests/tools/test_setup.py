"""setup.sh's install function against a stand-in apt-get: the retry with the security suite pinned."""
import os
import re
import subprocess
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# Records each call; 'update' fails as a mirror mid-sync makes it fail; 'install' succeeds
# as the case says: always, only with the pin folder, or never.
APT = r"""#!/bin/bash
echo "$*" >> "$CALLS"
case "$1" in update) echo "E: Some index files failed to download." >&2; exit 100;; esac
pin=$(printf '%s\n' "$@" | sed -n 's/^Dir::Etc::PreferencesParts=//p')
[ -n "$pin" ] && { echo "pin dir $pin" >> "$CALLS"; cat "$pin"/* >> "$CALLS"; }
case "$MODE" in ok) exit 0;; pinned) [ -n "$pin" ] && exit 0;; esac
echo "E: Unable to correct problems, you have held broken packages." >&2
exit 100
"""


class InstallPackages(unittest.TestCase):
    def run_install(self, mode):
        with tempfile.TemporaryDirectory() as tmp:
            bin_dir = os.path.join(tmp, "bin")
            os.mkdir(bin_dir)
            stand_ins = {"apt-get": APT, "dpkg-query": "#!/bin/sh\nexit 1\n",
                         "dpkg": "#!/bin/sh\necho i386\n", "sudo": '#!/bin/sh\nexec "$@"\n'}
            for name, text in stand_ins.items():
                path = os.path.join(bin_dir, name)
                with open(path, "w") as f:
                    f.write(text)
                os.chmod(path, 0o755)
            calls = os.path.join(tmp, "calls")
            env = dict(os.environ, PATH=bin_dir + ":" + os.environ["PATH"], CALLS=calls,
                       MODE=mode, TMPDIR=tmp)
            run = subprocess.run(
                ["bash", "-c", "source tools/setup.sh; install_packages wine32:i386 nsis"],
                cwd=ROOT, env=env, capture_output=True, text=True)
            with open(calls) as f:
                log = f.read()
            left = sorted(set(os.listdir(tmp)) - {"bin", "calls"})
            return run, log, left

    def test_tries(self):
        cases = [  # mode, exit status, installs tried, pinned install
            ("ok", 0, 1, False),
            ("pinned", 0, 2, True),
            ("never", 100, 2, True),
        ]
        for mode, status, tries, pinned in cases:
            with self.subTest(mode=mode):
                run, log, left = self.run_install(mode)
                self.assertEqual(run.returncode, status, run.stdout + run.stderr)
                self.assertIn("failed to download", run.stdout)
                installs = [l for l in log.splitlines() if re.search(r"(^| )install ", l)]
                self.assertEqual(len(installs), tries, log)
                self.assertTrue(all("wine32:i386 nsis" in l for l in installs), log)
                self.assertEqual("Pin: release l=Debian-Security" in log, pinned, log)
                self.assertEqual("Pin-Priority: 100" in log, pinned, log)
                if pinned:
                    self.assertIn("pinned below the main suite", run.stdout)
                    self.assertTrue(re.search(r"pin dir /", log), log)
                self.assertEqual(left, [], "temporary files left behind")
                self.assertEqual("held broken packages" in run.stderr, mode == "never")


if __name__ == "__main__":
    unittest.main()
