"""The game on a real desktop under openbox: windows moved off the screen, many starts on a busy
machine, signals and a stopped process."""
import ctypes
import os
import signal
import subprocess
import time
import unittest

from harness import Desktop, Game, wait_until


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
            self.assertTrue(wait_until(game.locate), "not shown after the moves")
            if paused:
                game.key("p")
                self.assertTrue(wait_until(lambda: game.overlay() is None), "still paused")
        self.assertIsNone(game.process.poll(), game.output())
        self.assertTrue(wait_until(game.locate))
        game.key("Home")
        # Stopped for five seconds, the game goes on from where it was.
        game.process.send_signal(signal.SIGSTOP)
        time.sleep(5)
        game.process.send_signal(signal.SIGCONT)
        self.assertTrue(wait_until(game.locate))
        self.assertIsNone(game.overlay(), "the game ended while it was stopped")
        # A logout's SIGTERM ends it as its window's close does: the volumes are kept.
        game.process.send_signal(signal.SIGTERM)
        self.assertEqual(game.wait(), 0, game.output())
        self.assertEqual(game.file("config.dat"), bytes([138, 0, 0, 0, 128, 0, 0, 0]))

    def test_windows_destroyed_behind_its_back_and_the_server_gone(self):
        # Another program destroys a window; F12 or a logout still ends the game at once, the
        # volumes kept. Without its main window the game ends by itself.
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        display = ctypes.c_void_p(x11.XOpenDisplay(self.desktop.env["DISPLAY"].encode()))
        for destroyed, end in (("gun", "F12"), ("gun", "TERM"), ("main", None)):
            game = self.start()
            game.key("Home")
            x11.XDestroyWindow(display, ctypes.c_ulong(int(getattr(game, destroyed))))
            x11.XSync(display, 0)
            if end == "F12":
                game.focus()
                game.key("F12")
            elif end:
                game.process.send_signal(signal.SIGTERM)
            self.assertEqual(game.wait(3), 0, (destroyed, end, game.output()))
            self.assertEqual(game.file("config.dat")[:4], bytes([138, 0, 0, 0]))
        x11.XCloseDisplay(display)
        game = self.start()
        game.key("End")
        self.desktop.close()
        self.assertIsNotNone(game.wait(3), "still running without its X server")
        self.assertEqual(game.file("config.dat")[:4], bytes([118, 0, 0, 0]))

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
