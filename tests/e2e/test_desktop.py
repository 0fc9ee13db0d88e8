"""The game on a real desktop under openbox: windows destroyed behind its back, the X server
gone, a screen resized under it, many starts on a busy machine; and the Wayland compositor gone
under it."""
import ctypes
import signal
import subprocess
import unittest

from harness import Desktop, Game, wait_until


class DesktopJourneys(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(kind="openbox")
        self.addCleanup(self.desktop.close)

    def start(self):
        game = Game(self.desktop)
        self.addCleanup(game.close)
        self.assertTrue(game.find_windows(), game.output())
        return game

    def test_windows_destroyed_behind_its_back_and_the_server_gone(self):
        # Another program destroys a window; F12 or a logout still ends the game at once, the
        # volumes kept. Without its main window the game ends by itself.
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        display = ctypes.c_void_p(x11.XOpenDisplay(self.desktop.env["DISPLAY"].encode()))
        # A window already gone is no reason for this test's own end (Xlib's default).
        ignore = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda *_: 0)
        x11.XSetErrorHandler(ignore)
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
        game.key("p")  # seen paused, the game has had the keys before it
        self.assertTrue(wait_until(game.overlay), "no pause text")
        self.desktop.close()
        self.assertIsNotNone(game.wait(3), "still running without its X server")
        self.assertEqual(game.file("config.dat")[:4], bytes([118, 0, 0, 0]))

    def test_a_screen_resized_under_the_game(self):
        desktop = Desktop("3840x2160", "openbox")
        self.addCleanup(desktop.close)
        game = Game(desktop)
        self.addCleanup(game.close)
        self.assertTrue(game.find_windows(), game.output())
        # Back on the screen, in its middle, at the scale each size gives.
        for width, height, scale in ((1024, 768, 1), (3840, 2160, 2)):
            desktop.set_screen(width, height)
            self.assertTrue(wait_until(lambda: game.locate() and game.scale == scale),
                            (width, height, game.place()))
            self.assertEqual(game.origin, ((width - 400 * scale) // 2, (height - 400 * scale) // 2))
            left, top, _, _ = game.place(game.gun)
            self.assertTrue(left >= 0 and top >= 0, (left, top))  # the gun window too
        self.assertEqual(game.quit(), 0)

    def test_the_wayland_compositor_gone(self):
        desktop = Desktop(kind="wayland")
        self.addCleanup(desktop.close)
        game = Game(desktop)
        self.addCleanup(game.close)
        self.assertTrue(game.find_windows(), game.output())
        game.key("End")
        game.key("p")  # seen paused, the game has had the keys before it
        self.assertTrue(wait_until(game.overlay), "no pause text")
        desktop.stop_compositor()
        self.assertEqual(game.wait(3), 0, game.output())
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
