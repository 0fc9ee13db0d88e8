"""Zarnok 3D for Windows, as scripts/windows.sh builds it, under Wine on desktops of its own: its
unit tests; the recorded games of the suite replayed to the ends they had; a player's journey on
a bare X server and under openbox (the two windows placed clear of each other, a shot where the
mouse aims, F11 there and back, Home and F12 saving config.dat); logging off and Alt+F4 saving
as SIGTERM does on Linux; a second copy refused and a broken file of the player's said in the
log; saves cut at every step; a player whose name is not ASCII; the installer and its
uninstaller, silent."""
import glob
import os
import pathlib
import subprocess
import unittest

from harness import KEPT_GAMES, WINDOWS, Desktop, Wine, wait_until
from test_desktops import blue_pixels


class UnitTests(unittest.TestCase):
    def test_pass_under_wine(self):
        desktop = Desktop()
        self.addCleanup(desktop.close)
        wine = Wine(desktop)
        self.addCleanup(wine.close)
        done = wine.run(os.path.join(WINDOWS, "build/tests/unit/unit_tests.exe"), timeout=240)
        self.assertEqual(done.returncode, 0, done.stdout[-3000:])
        self.assertIn("[  PASSED  ]", done.stdout)


class Journeys(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop("1920x1080", self.kind)
        self.addCleanup(self.desktop.close)
        self.wine = Wine(self.desktop, getattr(self, "user", "player"))
        self.addCleanup(self.wine.close)

    def start(self, *args, **env):
        game = self.wine.start(self.desktop, args, env)
        self.addCleanup(game.close)
        return game


class BareX(Journeys):
    kind = "bare"

    def test_a_replay_the_windows_a_shot_the_full_screen_and_quit(self):
        for kept, end in KEPT_GAMES:  # one played on Linux, one on Windows
            replay = self.start("--replay", kept, "--fast")
            self.assertEqual(replay.wait(90), 0, replay.output())
            self.assertIn(end, replay.output())
        game = self.start()
        self.assertTrue(game.find_windows(), game.output())
        self.assertTrue(wait_until(lambda: blue_pixels(game.gun_picture()) > 50), "no gun view")
        # The gun window stands at the main window's left, its frame clear of the main one's.
        self.assertLess(game.frame(game.gun)[1], game.frame(game.main)[0])
        self.assertEqual(game.place(game.gun)[1], game.place()[1])
        accuracy = game.figure(1)
        game.point(300, 100)
        game.click()
        self.assertTrue(wait_until(lambda: game.figure(1) != accuracy, 5), "no shot fired")
        windowed = game.origin, game.scale
        for toggle in range(2):
            game.key("F11")
            full = toggle == 0
            self.assertTrue(wait_until(
                lambda: game.locate() and (game.scale > windowed[1]) == full), "F11 %d" % toggle)
        self.assertEqual((game.origin, game.scale), windowed)
        game.key("Home")
        self.assertEqual(game.quit(), 0, game.output())
        self.assertEqual(game.file("config.dat"), bytes([138, 0, 0, 0, 128, 0, 0, 0]))


class Openbox(BareX):
    kind = "openbox"


class Endings(Journeys):
    kind = "openbox"

    def test_logging_off_and_alt_f4_save_the_volumes(self):
        for end in ("log off", "Alt+F4"):
            game = self.start()
            self.assertTrue(game.find_windows(), game.output())
            game.key("Home")
            if end == "log off":
                self.wine.run("wineboot", "--end-session")
            else:
                game.key("alt+F4")
            self.assertEqual(game.wait(), 0, end)
        self.assertEqual(game.file("config.dat"), bytes([148, 0, 0, 0, 128, 0, 0, 0]))
        self.assertIn("the session is ending", game.file("zarnok3d.log").decode())

    def test_a_second_copy_is_refused_and_a_broken_file_said_in_the_log(self):
        os.makedirs(self.wine.player_folder)
        pathlib.Path(self.wine.player_folder, "gun.wav").write_bytes(b"RIFF" + bytes(40))
        first = self.start()
        self.assertTrue(first.find_windows(), first.output())
        second = self.start()
        self.assertIn("already running in this folder", second.answer_message() or "")
        self.assertEqual(first.quit(), 0)
        log = first.file("zarnok3d.log").decode()
        self.assertIn("gun.wav cannot be used", log)
        self.assertIn("already running in this folder", log)


class Kills(Journeys):
    kind = "openbox"

    def test_saves_cut_at_every_step_leave_the_files_whole(self):
        """The first start writes scores.dat (steps 1 to 5); F12, config.dat over the old one."""
        game = self.start()
        self.assertTrue(game.find_windows(), game.output())
        self.assertEqual(game.quit(), 0)
        table = game.file("scores.dat")
        old, new = bytes([1, 0, 0, 0, 2, 0, 0, 0]), bytes([11, 0, 0, 0, 2, 0, 0, 0])
        folder = pathlib.Path(self.wine.player_folder)
        for step in range(1, 11):
            (folder / "scores.dat").unlink(missing_ok=True)
            (folder / "config.dat").write_bytes(old)
            game = self.start(ZARNOK_END_AT_SAVE_STEP=str(step))
            if step > 5:
                self.assertTrue(game.find_windows(), game.output())
                game.key("Home")
                game.key("F12")
            self.assertEqual(game.wait(30), 137, step)
            self.assertIn(game.file("scores.dat"), (None, table), step)
            self.assertIn(game.file("config.dat"), (old, new), step)
            # The next start leaves no temporary file behind.
            game = self.start()
            self.assertTrue(game.find_windows(), game.output())
            self.assertEqual(game.quit(), 0)
            self.assertEqual([], glob.glob(os.path.join(self.wine.player_folder, "*.saving*")))


class PlayerNamedZoe(Journeys):
    kind, user = "openbox", "Zoë"

    def test_files_kept_and_replays_found_under_a_name_not_ascii(self):
        game = self.start()
        self.assertTrue(game.find_windows(), game.output())
        game.key("Home")
        self.assertEqual(game.quit(), 0)
        self.assertIn("Zoë", self.wine.player_folder)
        self.assertEqual(game.file("config.dat"), bytes([138, 0, 0, 0, 128, 0, 0, 0]))
        self.assertEqual(len(game.file("scores.dat")), 100)
        # A replay named alone is the player's; one named by its whole path is found there.
        desktop = pathlib.Path(self.wine.appdata).parent / "Desktop"
        desktop.mkdir(exist_ok=True)
        (desktop / "Zoë's game.zrp").write_bytes(game.file("last.zrp"))
        for named in ("last.zrp", "C:\\users\\Zoë\\Desktop\\Zoë's game.zrp"):
            replay = self.start("--replay", named, "--fast")
            self.assertEqual(replay.wait(60), 0, named + replay.output())
            self.assertIn("zarnok3d replay: points 0, level 1", replay.output())


class Installer(Journeys):
    kind = "openbox"

    def test_installs_plays_and_uninstalls_silently_keeping_the_players_files(self):
        setup = glob.glob(os.path.join(WINDOWS, "zarnok3d-*-setup.exe"))[0]
        self.assertEqual(self.wine.run(setup, "/S", timeout=120).returncode, 0)
        installed = pathlib.Path(self.wine.appdata, "Local/Programs/Zarnok 3D")
        shortcut = pathlib.Path(self.wine.appdata,
                                "Roaming/Microsoft/Windows/Start Menu/Programs/Zarnok 3D.lnk")
        staged = pathlib.Path(self.wine.game_folder)
        self.assertEqual(sorted(p.name for p in installed.iterdir()),
                         sorted([p.name for p in staged.iterdir()] + ["uninstall.exe"]))
        self.assertTrue(shortcut.exists())
        uninstall_key = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\zarnok3d"
        self.assertIn("Zarnok 3D", self.wine.run("reg", "query", uninstall_key).stdout)
        self.wine.game = str(installed / "zarnok3d.exe")
        game = self.start()
        self.assertTrue(game.find_windows(), game.output())
        game.key("Home")
        self.assertEqual(game.quit(), 0)
        self.wine.run(str(installed / "uninstall.exe"), "/S")
        self.assertTrue(wait_until(lambda: not installed.exists(), 60), "still installed")
        self.assertFalse(shortcut.exists())
        self.assertNotIn("Zarnok 3D", self.wine.run("reg", "query", uninstall_key).stdout)
        self.assertEqual(game.file("config.dat"), bytes([138, 0, 0, 0, 128, 0, 0, 0]))


if __name__ == "__main__":
    unittest.main()
