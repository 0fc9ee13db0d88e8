"""The installed launcher: the player's folder per the XDG rules, the game's files copied into it
whole whenever they differ, and every problem handed to the game to show. The game here is a
stand-in that says where and how it was started."""
import os
import pathlib
import shutil
import subprocess
import tempfile
import unittest

from harness import DATA, FILES

LAUNCHER = os.environ.get("ZARNOK_LAUNCHER", "zarnok3d-launcher.sh")


class Launcher(unittest.TestCase):
    def setUp(self):
        self.root = pathlib.Path(tempfile.mkdtemp(prefix="zarnok-launcher-"))
        self.addCleanup(shutil.rmtree, self.root)
        for folder in ("bin", "share/zarnok3d", "libexec/zarnok3d", "home"):
            (self.root / folder).mkdir(parents=True)
        shutil.copy(LAUNCHER, self.root / "bin/zarnok3d")
        (self.root / "bin/zarnok3d").chmod(0o755)
        for name in FILES:
            shutil.copy(os.path.join(DATA, name), self.root / "share/zarnok3d")
        game = self.root / "libexec/zarnok3d/zarnok3d"
        game.write_text('#!/bin/sh\necho "$PWD|${ZARNOK_LAUNCH_PROBLEM:-}|$*"\n')
        game.chmod(0o755)

    def launch(self, **env):
        environment = dict(os.environ, HOME=str(self.root / "home"))
        environment.pop("XDG_DATA_HOME", None)
        environment.update(env)
        environment = {k: v for k, v in environment.items() if v is not None}
        done = subprocess.run([self.root / "bin/zarnok3d", "--uncapped"], env=environment,
                              capture_output=True, text=True, timeout=30)
        return done.stdout.strip().split("|")

    def test_the_players_folder_and_its_files(self):
        default = self.root / "home/.local/share/zarnok3d"
        self.assertEqual(self.launch(), [str(default), "", "--uncapped"])
        installed = self.root / "share/zarnok3d/bg.bmp"
        (default / "bg.bmp").write_bytes(installed.read_bytes()[:1000])  # a copy cut short
        installed_music = self.root / "share/zarnok3d/supera29.xm"
        installed_music.write_bytes(installed_music.read_bytes() + b"\0")
        os.utime(installed_music, (1, 1))  # an update that comes with an old time
        self.launch(XDG_DATA_HOME="relative/path")  # not a path the XDG rules accept
        for name in FILES:
            self.assertEqual((default / name).read_bytes(),
                             (self.root / "share/zarnok3d" / name).read_bytes(), name)
        self.assertEqual(sorted(p.name for p in default.iterdir()), sorted(FILES))
        elsewhere = self.root / "data"
        self.assertEqual(self.launch(XDG_DATA_HOME=str(elsewhere))[0], str(elsewhere / "zarnok3d"))

    def test_problems_are_shown_by_the_game(self):
        self.assertIn("HOME is not set", self.launch(HOME=None)[1])
        (self.root / "home/.local").write_text("a file where a folder should be")
        self.assertIn("Cannot make the folder", self.launch()[1])


if __name__ == "__main__":
    unittest.main()
