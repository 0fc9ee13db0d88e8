"""The Debian package built by scripts/package.sh under a umask of 077, lintian-clean, unpacked into
a throwaway root (the machine's own packages are left alone), and its own autopkgtests run against
it as an ordinary player: folders, the game's files, metadata, icons, and a first start that
leaves its three files; without its data the package fails them."""
import glob
import os
import pathlib
import shutil
import subprocess
import tempfile
import unittest

SOURCE = os.environ.get("ZARNOK_SOURCE", os.path.join(os.path.dirname(__file__), "../.."))


class Package(unittest.TestCase):
    def test_built_unpacked_and_played(self):
        out = pathlib.Path(tempfile.mkdtemp(prefix="zarnok-package-"))
        self.addCleanup(shutil.rmtree, out, True)
        made = subprocess.run([os.path.join(SOURCE, "scripts/package.sh"), out], text=True,
                              capture_output=True, timeout=1700, preexec_fn=lambda: os.umask(0o077))
        self.assertEqual(made.returncode, 0, made.stdout[-3000:] + made.stderr[-3000:])
        deb = glob.glob(str(out / "zarnok3d_*_*.deb"))[0]
        out.chmod(0o755)
        subprocess.run(["dpkg-deb", "-x", deb, out / "root"], check=True)
        player = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
        # The autopkgtests run in the source tree, where the table of the data files is.
        (out / "data").mkdir()
        shutil.copy(os.path.join(SOURCE, "data/data_files.txt"), out / "data")
        for test in ("first-start", "installed-files"):  # as an ordinary player
            shutil.copy(os.path.join(SOURCE, "debian/tests", test), out)
            done = subprocess.run((player if os.geteuid() == 0 else []) + [out / test],
                                  env=dict(os.environ, ZARNOK_ROOT=str(out / "root")),
                                  capture_output=True, text=True, timeout=120, cwd=out)
            self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        # A package without its pictures, sounds and music passes neither, each by its own check.
        for data in (out / "root/usr/share/zarnok3d").iterdir():
            data.unlink()
        for test in ("first-start", "installed-files"):
            stripped = subprocess.run([out / test], capture_output=True, text=True, timeout=120,
                                      env=dict(os.environ, ZARNOK_ROOT=str(out / "root")), cwd=out)
            self.assertNotEqual(stripped.returncode, 0, test + ": " + stripped.stdout)


if __name__ == "__main__":
    unittest.main()
