"""The Debian package as a player gets it: made by CPack, installed with apt, its metadata
valid, the installed launcher started in an X server with the player's folder set up on the
first run, and the package removed again."""
import glob
import os
import shutil
import subprocess
import tempfile
import unittest

from harness import FILES, Desktop, Game


def as_root(*command):
    return subprocess.run(([] if os.geteuid() == 0 else ["sudo", "-n"]) + list(command),
                          capture_output=True, text=True, timeout=300)


class Package(unittest.TestCase):
    def test_installed_played_and_removed(self):
        if as_root("true").returncode != 0:
            self.skipTest("installing a package needs root")
        out = tempfile.mkdtemp(prefix="zarnok-package-")
        self.addCleanup(shutil.rmtree, out, True)
        made = subprocess.run([os.environ["ZARNOK_CPACK"], "-G", "DEB", "-B", out, "--config",
                               os.path.join(os.environ["ZARNOK_BUILD"], "CPackConfig.cmake")],
                              capture_output=True, text=True, timeout=300)
        package = glob.glob(os.path.join(out, "zarnok3d_1.01_amd64.deb"))
        self.assertTrue(package, made.stdout + made.stderr)
        installed = as_root("apt-get", "install", "-y", "--no-install-recommends", package[0])
        self.addCleanup(as_root, "apt-get", "remove", "-y", "zarnok3d")
        self.assertEqual(installed.returncode, 0, installed.stdout + installed.stderr)
        for check in (["appstreamcli", "validate", "--no-net",
                       "/usr/share/metainfo/io.github.zarnok3d.zarnok3d.metainfo.xml"],
                      ["desktop-file-validate", "/usr/share/applications/zarnok3d.desktop"],
                      ["man", "-w", "6", "zarnok3d"]):
            done = subprocess.run(check, capture_output=True, text=True)
            self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        home = tempfile.mkdtemp(prefix="zarnok-home-")
        self.addCleanup(shutil.rmtree, home, True)
        desktop = Desktop()
        self.addCleanup(desktop.close)
        launcher = shutil.which("zarnok3d", path="/usr/games:/usr/bin")
        game = Game(desktop, folder=home, files=[], env={"HOME": home}, program=launcher)
        self.addCleanup(game.close)
        self.assertTrue(game.find_windows(), game.output())
        self.assertEqual(game.quit(), 0, game.output())
        folder = os.path.join(home, ".local/share/zarnok3d")
        self.assertEqual(sorted(os.listdir(folder)),
                         sorted(FILES + ["config.dat", "scores.dat"]))
        removed = as_root("apt-get", "remove", "-y", "zarnok3d")
        self.assertEqual(removed.returncode, 0, removed.stderr)
        self.assertFalse(os.path.exists("/usr/libexec/zarnok3d/zarnok3d"))


if __name__ == "__main__":
    unittest.main()
