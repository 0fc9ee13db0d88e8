"""The installed launcher: the player's folder per the XDG rules, made and entered, nothing copied
into it, the data folder and every problem handed to the game, here a stand-in that echoes them."""
import os
import pathlib
import shutil
import subprocess
import tempfile
import unittest

LAUNCHER = os.environ.get("ZARNOK_LAUNCHER", "zarnok3d-launcher.sh")


class Launcher(unittest.TestCase):
    def test_folders_and_problems(self):
        root = pathlib.Path(tempfile.mkdtemp(prefix="zarnok-launcher-"))
        self.addCleanup(shutil.rmtree, root)
        for folder in ("bin", "share/zarnok3d", "libexec/zarnok3d", "home", "odd"):
            (root / folder).mkdir(parents=True)
        shutil.copy(LAUNCHER, root / "bin/zarnok3d")
        game = root / "libexec/zarnok3d/zarnok3d"
        game.write_text('#!/bin/sh\necho "$PWD|${ZARNOK_LAUNCH_PROBLEM:-}|$ZARNOK_DATA_FOLDER|$*"\n')
        for program in (root / "bin/zarnok3d", game):
            program.chmod(0o755)
        (root / "odd/.local").write_text("a file where a folder should be")
        os.mkfifo(root / "odd/fifo")
        home, data = root / "home", str(root / "share/zarnok3d")
        default = str(home / ".local/share/zarnok3d")
        # The environment, then where the game runs or what it is asked to say.
        for env, said in (({}, default), ({"XDG_DATA_HOME": "relative/path"}, default),
                          ({"XDG_DATA_HOME": str(root / "xdg")}, str(root / "xdg/zarnok3d")),
                          ({"HOME": None}, "HOME is not set"), ({"HOME": ""}, "HOME is empty"),
                          ({"HOME": "home"}, "HOME is home, which is not an absolute path"),
                          ({"HOME": str(root / "odd")}, "Not a directory"),
                          ({"XDG_DATA_HOME": str(root / "odd/fifo")}, "Not a directory")):
            environment = {k: v for k, v in {**os.environ, "HOME": str(home), "XDG_DATA_HOME": None,
                                             **env}.items() if v is not None}
            done = subprocess.run([root / "bin/zarnok3d", "--uncapped"], env=environment,
                                  capture_output=True, text=True, timeout=30)
            where, problem, given, args = done.stdout.strip().split("|")
            self.assertEqual((given, args), (data, "" if problem else "--uncapped"))
            self.assertIn(said, problem or where, env)
        self.assertEqual(os.listdir(default), [])
        # Its help and its version are the game's answer alone: no folder is made for them.
        fresh = root / "fresh"
        fresh.mkdir()
        for asked in ("--help", "--version"):
            done = subprocess.run([root / "bin/zarnok3d", asked], capture_output=True, text=True,
                                  env=dict(os.environ, HOME=str(fresh)), timeout=30)
            self.assertEqual(done.stdout.strip().split("|")[3], asked)
        self.assertEqual(os.listdir(fresh), [])
        # A replay named from where the player stands is found there; one that is not, among the
        # game's own files.
        (root / "odd/mine.zrp").write_text("")
        for name, given in (("mine.zrp", str(root / "odd/mine.zrp")), ("rank1.zrp", "rank1.zrp")):
            done = subprocess.run([root / "bin/zarnok3d", "--replay", name, "--fast"],
                                  env=dict(os.environ, HOME=str(home)), cwd=root / "odd",
                                  capture_output=True, text=True, timeout=30)
            self.assertEqual(done.stdout.strip().split("|")[3], "--replay %s --fast" % given)


if __name__ == "__main__":
    unittest.main()
