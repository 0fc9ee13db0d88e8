"""The game on a real desktop under openbox: windows moved off the screen, minimised and
restored, many starts on a busy machine, signals and a stopped process."""
import os
import signal
import subprocess
import time
import unittest

from harness import Desktop, Game, Picture, shoot_until_hits, wait_until


class DesktopJourneys(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(window_manager=True)
        self.addCleanup(self.desktop.close)

    def start(self):
        game = Game(self.desktop)
        self.addCleanup(game.close)
        self.assertTrue(game.find_windows(), game.output())
        return game

    def test_moves_off_the_screen_signals_and_a_stopped_process(self):
        game = self.start()
        for paused in (False, True):
            if paused:
                game.key("p")
                self.assertTrue(wait_until(game.overlay), "no pause text")
            for x, y in (("-1", "100"), ("100", "-1"), ("-300", "-300"), ("300", "200")):
                self.desktop.run("xdotool", "windowmove", "--sync", game.main, x, y)
            game.focus()
            if paused:
                game.key("p")
                self.assertTrue(wait_until(lambda: game.overlay() is None), "still paused")
        self.assertIsNone(game.process.poll(), game.output())
        self.assertTrue(wait_until(game.hud_shows))
        game.key("Home")
        # Stopped for five seconds, the game goes on from where it was.
        game.process.send_signal(signal.SIGSTOP)
        time.sleep(5)
        game.process.send_signal(signal.SIGCONT)
        self.assertTrue(wait_until(game.hud_shows))
        self.assertIsNone(game.overlay(), "the game ended while it was stopped")
        # A logout's SIGTERM ends it as its window's close does: the volumes are kept.
        game.process.send_signal(signal.SIGTERM)
        self.assertEqual(game.wait(), 0, game.output())
        self.assertEqual(game.file("config.dat"), bytes([138, 0, 0, 0, 128, 0, 0, 0]))

    def test_minimised_and_restored_five_times(self):
        game = self.start()
        for _ in range(5):
            self.desktop.run("xdotool", "windowminimize", "--sync", game.main)
            self.assertTrue(wait_until(lambda: "IsViewable" not in self.desktop.run(
                "xwininfo", "-id", game.gun)), "the gun window stays up")
            self.desktop.run("xdotool", "windowactivate", "--sync", game.main)
            self.assertTrue(wait_until(lambda: "IsViewable" in self.desktop.run(
                "xwininfo", "-id", game.gun)), "the gun window stays down")
            game.key("p")  # at once, without a click
            self.assertTrue(wait_until(game.overlay, 5), "P did not pause after the restore")
            game.key("p")
            self.assertTrue(wait_until(lambda: game.overlay() is None), "still paused")
        self.desktop.run("xdotool", "windowminimize", "--sync", game.main)
        game.process.send_signal(signal.SIGTERM)  # a logout while it waits, minimised
        self.assertEqual(game.wait(), 0, game.output())

    def test_a_big_screen_doubles_the_view_and_f11_fills_it(self):
        self.desktop = Desktop("3840x2160", window_manager=True)
        self.addCleanup(self.desktop.close)
        game = self.start()
        self.assertEqual((game.scale, game.place()), (2, (1520, 680, 800, 800)))
        self.assertEqual(game.place(game.gun), (1320, 680, 200, 300))
        self.assertEqual(shoot_until_hits(game, 1), 1, "no hit at twice the size")
        game.key("F11")
        self.assertTrue(wait_until(lambda: game.place()[2] == 3840), game.place())
        self.assertNotIn("IsViewable", self.desktop.run("xwininfo", "-id", game.gun))
        # Five times as large in the middle, with the HUD's green labels in its corner, the gun
        # view (a blue gun) at its left, black around.
        def screen_shows():
            screen = Picture(subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                                            env=self.desktop.env, capture_output=True).stdout)
            count = lambda area, test: sum(1 for _, _, rgb in screen.pixels(*area) if test(*rgb))
            return (screen.at(919, 1000) == (0, 0, 0) and
                    count((920, 80, 1220, 400), lambda r, g, b: g == 255 and r == b == 0) > 2000 and
                    count((420, 80, 920, 830), lambda r, g, b: b > 100 and r == g == 0) > 2000)
        self.assertTrue(wait_until(screen_shows), "not the full screen's layout")
        game.key("F11")
        self.assertTrue(wait_until(lambda: game.place() == (1520, 680, 800, 800)), game.place())
        self.assertEqual(game.quit(), 0)

    def test_thirty_starts_beside_a_busy_loop(self):
        busy = subprocess.Popen(["sh", "-c", "while :; do :; done"])
        self.addCleanup(busy.kill)
        for start in range(30):
            game = Game(self.desktop)
            found = game.find_windows()
            output, status = game.output(), game.quit() if found else game.wait(1)
            game.close()
            self.assertTrue(found and status == 0, "start %d: %s %s" % (start, status, output))


if __name__ == "__main__":
    unittest.main()
