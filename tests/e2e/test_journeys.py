"""A player's journeys through the real game on a bare X server."""
import os
import pathlib
import shutil
import struct
import subprocess
import tempfile
import time
import unittest

from harness import ADA, ADA_END, DATA, FILES, GAME, Desktop, Game, wait_until


class Journeys(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop()
        self.addCleanup(self.desktop.close)

    def start(self, **setup):
        game = Game(self.desktop, **setup)
        self.addCleanup(game.close)
        # Without its pictures the game plays over black, where no frame can be told.
        self.assertTrue(game.find_windows(frame=setup.get("files") != []), game.output())
        return game

    def test_a_first_start_the_side_screens_and_a_game_over_kept_as_a_replay(self):
        game = self.start()
        width, height = map(int, self.desktop.run("xdotool", "getdisplaygeometry").split())
        main, gun = game.place(), game.place(game.gun)
        self.assertEqual(main, (width // 2 - 200, height // 2 - 200, 400, 400))
        self.assertEqual(gun, (main[0] - 100, main[1], 100, 150))
        self.assertEqual(len(game.file("scores.dat")), 100)

        accuracy = game.figure(1)
        game.point(200, 390)  # low, the aim line out of the way of the overlay
        game.click()
        self.assertTrue(wait_until(lambda: game.figure(1) != accuracy), "no shot fired")
        game.key("p")
        self.assertTrue(wait_until(game.overlay), "no pause text")
        game.key("p")
        self.assertTrue(wait_until(lambda: game.overlay() is None), "the pause text stays")
        for key, picture in (("F1", "f1bg"), ("F5", "hiscbg"), ("F7", "nfobg"), ("x", "bg")):
            if key == "x":
                game.point(50, 50)  # moved on the side screen; leaving it puts the pointer back
            game.key(key)
            self.assertEqual(wait_until(lambda: game.screen() == picture and picture), picture)
        self.assertTrue(wait_until(lambda: game.pointer() == (200, 390)), game.pointer())
        game.key("Home")
        game.key("Home")
        game.key("Next")

        # No hit: a target escapes, and the game, too poor for the table, is kept as the last.
        self.assertTrue(wait_until(game.overlay, 60), "no end of the game")
        self.assertEqual(game.quit(), 0)
        self.assertEqual(game.file("config.dat"), bytes([148, 0, 0, 0, 118, 0, 0, 0]))
        replay = Game(self.desktop, folder=game.folder, files=[],
                      args=["--replay", "last.zrp", "--fast"])
        self.assertEqual(replay.wait(60), 0, replay.output())
        self.assertRegex(replay.output(), "points 0, level 1, hits 0, shots 1, [0-9]+ frames")

    def test_a_recorded_game_watched_to_its_end(self):
        # At its own pace, with its pause and side screens, the watcher's full screen and pause
        # in between; it ends as it did, and nothing is saved. Its frames go through SDL's
        # renderer on Xvfb's software OpenGL, loaded without a word (the integration tests hold
        # its pixels to the surface's).
        desktop = Desktop("1920x1080", "openbox")
        self.addCleanup(desktop.close)
        game = Game(desktop, args=["--replay", ADA, "--renderer=gpu"])
        self.addCleanup(game.close)
        self.assertTrue(game.find_windows(), game.output())
        maps = pathlib.Path("/proc/%d/maps" % game.process.pid).read_text()
        self.assertIn("_dri.so", maps)
        seen, wanted = set(), {"paused", "f1bg", "hiscbg", "nfobg"}
        def look():
            screen = game.screen()
            seen.add("paused" if screen == "bg" and game.overlay() else screen)
            return wanted <= seen
        self.assertTrue(wait_until(look, 40), seen)
        game.key("F11")
        self.assertTrue(wait_until(lambda: game.locate() and game.scale > 1), "no full screen")
        game.key("p")
        self.assertTrue(wait_until(game.overlay), "the watcher's pause not shown")
        still = game.picture()
        time.sleep(0.5)
        self.assertEqual(game.picture().data, still.data)
        game.key("p")
        self.assertEqual(game.wait(60), 0, game.output())
        self.assertIn(ADA_END, game.output())
        self.assertEqual(sorted(os.listdir(game.folder)), sorted(FILES))

    def test_a_players_files_the_game_cannot_use_give_way_to_the_installed_ones(self):
        # A sample at 1 Hz crashed the sound library; a picture claiming 60000 pixels a side
        # cost memory; a module of no pattern, sound to the game's checks, the library refuses.
        # Each is said once; the installed one serves.
        folder = tempfile.mkdtemp(prefix="zarnok-e2e-")
        hostile = {"gun.wav": b"RIFF\x00\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00"
                   b"\x01\x00\x00\x00\x01\x00\x00\x00\x01\x00\x08\x00data\xe0\x2e\x00\x00"
                   + bytes(12000),
                   "bg.bmp": b"BM" + bytes(12) + struct.pack("<Iii", 40, 60000, 60000) + bytes(99),
                   "supera29.xm": b"Extended Module: " + bytes(20) + b"\x1a" + bytes(20)
                   + struct.pack("<HIHHHHHHHH", 0x104, 276, 1, 0, 2, 0, 0, 1, 6, 125) + bytes(256)}
        for name, content in hostile.items():
            pathlib.Path(folder, name).write_bytes(content)
        game = self.start(folder=folder, files=[], env={"ZARNOK_DATA_FOLDER": DATA})
        self.assertEqual(game.quit(), 0)
        shutil.rmtree(folder)
        said = game.output().splitlines()
        for name, why in (("gun.wav", "a sample rate of 1 Hz"), ("bg.bmp", "larger than 2048"),
                          ("supera29.xm", "not a module SDL_mixer can play")):
            lines = [line for line in said if line.startswith("zarnok3d: %s " % name)]
            self.assertEqual(len(lines), 1, said)
            self.assertIn(why, lines[0])
            self.assertTrue(lines[0].endswith("the installed one serves"), lines[0])

    def test_odd_files_and_no_display(self):
        # Without its pictures and sounds the game runs over black, and says so; on a screen
        # smaller than its window it starts, partly off the screen; without a display it says so.
        game = self.start(files=[])
        self.assertIsNone(game.screen())
        self.assertEqual(game.quit(), 0)
        self.assertIn("none of the game's pictures, sounds and music are in", game.output())
        small = Desktop("320x240")
        self.addCleanup(small.close)
        game = Game(small)
        self.addCleanup(game.close)
        self.assertTrue(game.find_windows(frame=False), game.output())  # no picture off screen
        self.assertEqual(game.quit(), 0, game.output())
        self.assertNotIn("none of the game's pictures", game.output())  # with them, nothing said
        # A second copy in the same folder, or a launcher in trouble, says so and touches nothing.
        first = self.start()
        files = {name: os.stat(os.path.join(first.folder, name)) for name in os.listdir(first.folder)}
        for setup in ({"folder": first.folder, "files": []},
                      {"env": {"ZARNOK_LAUNCH_PROBLEM": "No folder for you. " * 300}}):
            game = Game(self.desktop, **setup)
            self.addCleanup(game.close)
            self.assertRegex(game.answer_message() or "", "already running|No folder for you")
        self.assertEqual(files, {name: os.stat(os.path.join(first.folder, name))
                                 for name in os.listdir(first.folder)})
        self.assertEqual(first.quit(), 0)
        self.desktop.game_env.pop("DISPLAY")
        game = Game(self.desktop)
        self.addCleanup(game.close)
        self.assertEqual(game.wait(), 1)
        self.assertIn("cannot open the display", game.output())
        done = subprocess.run([GAME, "--replay", GAME], capture_output=True, text=True, timeout=10)
        self.assertEqual(done.returncode, 2)
        self.assertIn("is not a replay of Zarnok 3D", done.stderr)
        read_end, write_end = os.pipe()  # output to a closed pipe is lost, and that is all
        os.close(read_end)
        self.assertEqual(subprocess.run([GAME, "-x"], stderr=write_end, timeout=10).returncode, 2)
        os.close(write_end)

    @unittest.skipUnless(os.geteuid() == 0, "a small disk of the test's own needs root to mount")
    def test_a_full_disk_and_a_file_size_limit_cost_the_replays_alone(self):
        disk = tempfile.mkdtemp(prefix="zarnok-full-")
        self.addCleanup(shutil.rmtree, disk, True)
        subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", disk], check=True)
        self.addCleanup(subprocess.run, ["umount", "-l", disk])
        installed = {"ZARNOK_DATA_FOLDER": os.path.abspath(DATA)}
        game = self.start(folder=disk, files=[], env=installed)
        self.assertEqual(game.quit(), 0)
        table = game.file("scores.dat")
        # The disk filled up: the volumes still go over the old ones, the game's replay, with no
        # earlier one to go over, is lost.
        os.remove(os.path.join(disk, "last.zrp"))
        subprocess.run(["dd", "if=/dev/zero", "of=" + os.path.join(disk, "filler")],
                       capture_output=True)
        game = self.start(folder=disk, files=[], env=installed)
        game.key("Home")
        self.assertEqual(game.quit(), 0)
        self.assertEqual(game.file("config.dat"), bytes([138, 0, 0, 0, 128, 0, 0, 0]))
        self.assertEqual(game.file("scores.dat"), table)
        self.assertIn("replays cannot be kept here (last.zrp", game.output())
        # Files may not grow past 50 bytes: the table is not saved, and the game plays on.
        for name in os.listdir(disk):
            os.remove(os.path.join(disk, name))
        game = self.start(folder=disk, files=[], env=installed,
                          program=["prlimit", "--fsize=50", GAME])
        self.assertEqual(game.quit(), 0)
        # (What it says is cut at 50 bytes too, where it goes to a file.)
        self.assertIn("scores.dat could not be saved", game.output())
        self.assertIsNone(game.file("scores.dat"))


if __name__ == "__main__":
    unittest.main()
