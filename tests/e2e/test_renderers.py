"""Both ways of showing frames give the same pixels on the screen: copied into the windows, and
through SDL's renderer, forced onto Xvfb's software OpenGL, at scales 1 and 2 (in one window)
and on the full screen (at 3) under openbox."""
import pathlib
import unittest

from harness import Desktop, Game, wait_until


class Renderers(unittest.TestCase):
    def test_the_same_pixels_either_way(self):
        for size, full, one in (("1024x768", False, False), ("1920x1600", False, True),
                                ("2560x1440", True, False)):
            desktop = Desktop(size, "openbox")
            self.addCleanup(desktop.close)
            shots = [self.help_screen(desktop, renderer, full, one)
                     for renderer in ("surface", "gpu")]
            self.assertTrue(shots[0].data == shots[1].data, "%s: the pictures differ" % size)

    def help_screen(self, desktop, renderer, full, one_window):
        # The help screen and the gun view, the pointer at a fixed place: a picture that stands
        # still. On the full screen, the whole screen. Asked for, both views in one window.
        game = Game(desktop, args=["--renderer=" + renderer] + ["--one-window"] * one_window)
        self.addCleanup(game.close)
        self.assertTrue(game.find_windows(), game.output())
        self.assertEqual(game.gun is None, one_window)
        # Only the forced renderer loads the OpenGL driver, and it is had without a word.
        maps = pathlib.Path("/proc/%d/maps" % game.process.pid).read_text()
        self.assertEqual(("_dri.so" in maps, game.output()), (renderer == "gpu", ""))
        if full:
            game.key("F11")
            self.assertTrue(wait_until(lambda: game.locate() and game.scale == 3), "F11")
        game.point(300, 100)
        game.key("F1")
        self.assertTrue(wait_until(lambda: game.screen() == "f1bg"), "no help screen")
        shot = desktop.screenshot() if full else game.picture(True, -100, 0, 500, 400)
        self.assertEqual(game.quit(), 0, game.output())
        return shot


if __name__ == "__main__":
    unittest.main()
