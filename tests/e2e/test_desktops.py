"""A player's journey on each desktop: the bare X server, openbox, i3, xfwm4, the compositors
weston, kwin and mutter (the game through their XWayland and on Wayland itself) and two monitors
of different sizes: a recorded game replayed to its end, both views whole, a shot fired where the
mouse aims, F11 three times with the keys and the held pointer tried after each, minimising where
the desktop offers it, F12 and the volumes kept."""
import unittest

from harness import KEPT_GAMES, Desktop, Game, wait_until


def blue_pixels(picture):
    return sum(1 for _, _, (r, g, b) in picture.pixels(0, 0, picture.width, picture.height)
               if b > 100 and r == g == 0)


class BareX(unittest.TestCase):
    kind, size = "bare", "1920x1080"

    def test_a_replay_views_a_shot_the_full_screen_three_times_and_quit(self):
        desktop = Desktop(self.size, self.kind)
        self.addCleanup(desktop.close)
        can = desktop.can
        # The games kept, one played on Linux, one on Windows, end here as they did.
        for kept, end in KEPT_GAMES:
            replay = Game(desktop, args=["--replay", kept, "--fast"])
            self.addCleanup(replay.close)
            self.assertEqual(replay.wait(60), 0, replay.output())
            self.assertIn(end, replay.output())
        game = Game(desktop)
        self.addCleanup(game.close)
        self.assertTrue(game.find_windows(), game.output())
        self.check_views(game)
        if game.gun:  # the gun window's frame ends short of the main window's, once both are
            self.assertTrue(wait_until(  # framed and the gun window placed clear of them
                lambda: game.frame(game.gun)[1] < game.frame(game.main)[0], 2), "frames overlap")
        if can.server == "xorg":  # in the middle of the primary monitor, at its scale
            self.assertEqual((game.origin, game.scale), ((1920 + 1520, 680), 2))
        if can.moves_pointer:
            accuracy = game.figure(1)
            game.point(300, 100)  # the gun turns to the mouse
            game.click()
            self.assertTrue(wait_until(lambda: game.figure(1) != accuracy, 5), "no shot fired")
        windowed = game.origin, game.scale
        for toggle in range(3 if can.full_screens else 0):
            aim = game.pointer() if can.keeps_aim else None
            game.key("F11")
            full = toggle % 2 == 0 and can.grows_on_f11
            self.assertTrue(wait_until(lambda: game.locate() and (game.scale > windowed[1]) == full),
                            "F11 %d" % toggle)
            if aim and 0 <= aim[0] < 400 and 0 <= aim[1] < 400:
                wait_until(lambda: game.locate() and game.pointer() == aim, 3)
                self.assertEqual(game.pointer(), aim, "F11 %d moved the aim" % toggle)
            if not full and can.keeps_place:
                self.assertEqual((game.origin, game.scale), windowed)
            self.check_views(game)
            self.check_keys_and_pointer(game)
        if can.minimises:
            if not can.restores_full_screen:
                game.key("F11")
                self.assertTrue(wait_until(lambda: game.locate() and game.scale == windowed[1]))
            for _ in range(2):
                desktop.run("xdotool", "windowminimize", "--sync", game.main, game=True)
                self.assertTrue(wait_until(lambda: not game.locate()), "still shown")
                game.focus()
                self.assertTrue(wait_until(game.locate), "not back")
                self.check_keys_and_pointer(game)
        game.key("Home")
        self.assertEqual(game.quit(), 0, game.output())
        self.assertEqual(game.file("config.dat"), bytes([138, 0, 0, 0, 128, 0, 0, 0]))

    def check_views(self, game):
        self.assertTrue(game.hud_shows(), "no playfield")
        # The gun window may come back a little after the main one, on a busy machine.
        self.assertTrue(wait_until(lambda: blue_pixels(game.gun_picture()) > 50 * game.scale ** 2,
                                   5), "no gun view")

    def check_keys_and_pointer(self, game):
        can = game.desktop.can
        game.key("F2")  # at once, without a click: a fresh game, whose cubes take long to fall
        game.key("p")
        self.assertTrue(wait_until(game.overlay, 5), "P does not pause")
        game.key("p")
        self.assertTrue(wait_until(lambda: game.overlay() is None, 5), "still paused")
        # Nothing outside the compositor knows its pointer on Wayland; XWayland's follows it only
        # over the game's window, which the compositor holds it in (all of the full screen).
        if not can.moves_pointer or can.wayland:
            return
        if can.compositor_holds_pointer and game.scale > 1:  # beside the view: fires nothing
            accuracy = game.figure(1)
            game.desktop.run("xdotool", "mousemove", "100", str(game.desktop.size[1] - 100))
            game.click()
            self.assertFalse(wait_until(lambda: game.figure(1) != accuracy, 1), "shot beside")
            return
        left, top, width, height = game.place()
        window = ((left - game.origin[0]) // game.scale, (top - game.origin[1]) // game.scale,
                  (left + width - game.origin[0]) // game.scale - 1,
                  (top + height - game.origin[1]) // game.scale - 1)
        # Held in the playfield by the X server; by the compositor in the window.
        for push, corner in ((-150, (0, 0)), (150, (399, 398))):
            game.push_pointer(push, push)
            wait_until(lambda: game.pointer() == corner, 2)
            x, y = game.pointer()
            if can.compositor_holds_pointer:
                self.assertTrue(window[0] <= x <= window[2] and window[1] <= y <= window[3],
                                (x, y, window))
            else:
                self.assertEqual((x, y), corner)


# A journey for each desktop of the table: its name tells the harness how to start it and what
# it can do.
for name, kind in (("Openbox", "openbox"), ("I3", "i3"), ("Xfwm4", "xfwm4"),
                   ("WestonThroughXWayland", "weston"), ("WestonWayland", "wayland"),
                   ("KwinThroughXWayland", "kwin"), ("KwinWayland", "kwin-wayland"),
                   ("MutterThroughXWayland", "mutter"), ("MutterWayland", "mutter-wayland"),
                   ("TwoMonitors", "monitors")):
    globals()[name] = type(name, (BareX,), {"kind": kind})


if __name__ == "__main__":
    unittest.main()
