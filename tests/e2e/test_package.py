"""The Debian package as a player gets it: built from debian/ by scripts/package.sh under a
umask of 077 (its folders must still install as 0755), lintian-clean, unpacked into a throwaway
root so that the machine's own packages are left alone, its metadata and icons checked, and its
own autopkgtest run against it as an ordinary player: the game starts in a fresh home and leaves
nothing there but scores.dat and config.dat."""
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
        deb = glob.glob(str(out / "zarnok3d_1.01_*.deb"))[0]
        listing = subprocess.run(["dpkg-deb", "-c", deb], capture_output=True, text=True).stdout
        self.assertEqual({line[:10] for line in listing.splitlines() if line[0] == "d"},
                         {"drwxr-xr-x"})
        out.chmod(0o755)
        subprocess.run(["dpkg-deb", "-x", deb, out / "root"], check=True)
        share = out / "root/usr/share"
        for size in (16, 24, 32, 48, 64, 128, 256):
            png = (share / f"icons/hicolor/{size}x{size}/apps/zarnok3d.png").read_bytes()
            self.assertEqual((png[:4], png[16:24]), (b"\x89PNG", 2 * size.to_bytes(4, "big")))
        for check in (["appstreamcli", "validate", "--no-net",
                       share / "metainfo/io.github.zarnok3d.zarnok3d.metainfo.xml"],
                      ["desktop-file-validate", share / "applications/zarnok3d.desktop"]):
            done = subprocess.run(check, capture_output=True, text=True)
            self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        player = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
        shutil.copy(os.path.join(SOURCE, "debian/tests/first-start"), out)
        played = subprocess.run((player if os.geteuid() == 0 else []) + [out / "first-start"],
                                env=dict(os.environ, ZARNOK3D=str(out / "root/usr/games/zarnok3d")),
                                capture_output=True, text=True, timeout=120)
        self.assertEqual(played.returncode, 0, played.stdout + played.stderr)


if __name__ == "__main__":
    unittest.main()
