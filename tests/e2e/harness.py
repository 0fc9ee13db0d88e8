"""The real zarnok3d in an X server of its own (Xvfb, bare or under openbox), in a folder of its
own, driven with xdotool and seen through screenshots, as a player would: keys are held long
enough to be seen, and their effects are waited for, never slept for."""
import functools
import math
import os
import pathlib
import re
import select
import shutil
import signal
import subprocess
import tempfile
import time

GAME = os.environ.get("ZARNOK_GAME", "zarnok3d")
DATA = os.environ.get("ZARNOK_DATA", ".")
FILES = ["bg.bmp", "f1bg.bmp", "hiscbg.bmp", "nfobg.bmp", "gun.wav", "explode.wav", "yeah.wav",
         "supera29.xm"]
TITLE = "Zarnok 3D v1.01"


def wait_until(check, timeout=15.0):
    """The first true value of check(), or its last value once the time is up."""
    end = time.monotonic() + timeout
    while True:
        value = check()
        if value or time.monotonic() > end:
            return value
        time.sleep(0.03)


class Picture:
    """A screenshot as rows of RGB bytes."""

    def __init__(self, ppm):
        # The header's four fields, then exactly one whitespace byte: the pixels may start with
        # bytes that look like whitespace too.
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+\d+\s", ppm)
        self.width, self.height = int(header[1]), int(header[2])
        self.data = ppm[header.end():]

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def pixels(self, left, top, right, bottom):
        return [(x, y, self.at(x, y)) for y in range(top, bottom) for x in range(left, right)]

    def shrunk(self, scale):
        """Every scale-th pixel of every scale-th row: the view of a window shown enlarged."""
        rows = (self.data[3 * y * self.width:3 * (y + 1) * self.width]
                for y in range(0, self.height, scale))
        data = b"".join(row[i:i + 3] for row in rows for i in range(0, len(row), 3 * scale))
        return Picture(b"P6 %d %d 255\n" % (self.width // scale, self.height // scale) + data)


@functools.lru_cache
def read_bmp(path):
    """A 24-bit bottom-up BMP as a Picture."""
    raw = pathlib.Path(path).read_bytes()
    start, width, height = (int.from_bytes(raw[a:a + 4], "little") for a in (10, 18, 22))
    stride = (3 * width + 3) // 4 * 4
    rows = [raw[start + (height - 1 - y) * stride:][:3 * width] for y in range(height)]
    rgb = bytes(b for row in rows for i in range(0, len(row), 3) for b in row[i:i + 3][::-1])
    return Picture(b"P6 %d %d 255\n" % (width, height) + rgb)


class Desktop:
    """Xvfb on a display number it picks itself, optionally with openbox managing windows."""

    def __init__(self, size="1024x768", window_manager=False):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", size + "x24", "-noreset",
             "-nolisten", "tcp"], pass_fds=[write_end], stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n") and select.select([read_end], [], [], 20)[0]:
            number += os.read(read_end, 16) or b"\n"  # the whole line: the server dies if
        os.close(read_end)  # its pipe closes before it has written the end of it
        number = number.decode().strip()
        self.env = dict(os.environ, DISPLAY=":" + number)
        wait_until(lambda: self.run("xdotool", "getdisplaygeometry"))
        self.manager = None
        if window_manager:
            self.manager = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_until(lambda: "window id" in self.run("xprop", "-root",
                                                       "_NET_SUPPORTING_WM_CHECK"))

    def run(self, *command, timeout=20):
        done = subprocess.run(command, env=self.env, capture_output=True, text=True,
                              timeout=timeout)
        return done.stdout

    def close(self):
        for process in (self.manager, self.server):
            if process is not None:
                process.terminate()
                process.wait()


class Game:
    """One zarnok3d run in a folder holding the game's files and what the setup adds."""

    def __init__(self, desktop, folder=None, files=FILES, args=(), env=None, program=None):
        self.desktop = desktop
        self.own_folder = folder is None
        self.folder = folder or tempfile.mkdtemp(prefix="zarnok-e2e-")
        for name in files:
            shutil.copy(os.path.join(DATA, name), self.folder)
        self.log = tempfile.TemporaryFile("w+")
        environment = dict(desktop.env, SDL_AUDIODRIVER="dummy", **(env or {}))
        self.process = subprocess.Popen([program or GAME, *args], cwd=self.folder, env=environment,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.main = self.gun = None
        self.scale = 1

    def find_windows(self, timeout=20, frame=True):
        """Waits for both windows and, with `frame`, the first frame; true when they showed."""
        def both():
            main, gun = (self.desktop.run("xdotool", "search", "--onlyvisible", "--name",
                                          "^%s$" % title).split() for title in (TITLE, "Gun"))
            return main and gun and (main[0], gun[0])
        found = wait_until(both, timeout)
        if found:
            self.main, self.gun = found
            self.scale = max(1, self.place()[2] // 400)
            self.focus()
        return bool(found) and (not frame or bool(wait_until(self.hud_shows, 10)))

    def place(self, window=None):
        """The client area's left, top, width and height on the screen."""
        lines = self.desktop.run("xwininfo", "-id", window or self.main).splitlines()
        values = dict(line.strip().split(":", 1) for line in lines if line.count(":") == 1)
        return tuple(int(values.get(k, "0")) for k in ("Absolute upper-left X",
                                                        "Absolute upper-left Y", "Width", "Height"))

    def focus(self):
        how = "windowactivate" if self.desktop.manager else "windowfocus"
        self.desktop.run("xdotool", how, "--sync", self.main, timeout=5)

    def key(self, name):
        """Presses and releases a key, held long enough for the game to see it down."""
        self.desktop.run("xdotool", "keydown", name)
        time.sleep(0.05)
        self.desktop.run("xdotool", "keyup", name)

    def point(self, x, y):
        """Puts the pointer on a pixel of the view, and waits for the gun to turn to it (a
        click in the same frame would fire along the last aim)."""
        left, top, _, _ = self.place()
        s, gun = self.scale, self.picture(self.gun, whole=True)
        self.desktop.run("xdotool", "mousemove", "--sync", str(left + x * s + s // 2),
                         str(top + y * s + s // 2))
        wait_until(lambda: self.picture(self.gun, whole=True).data != gun.data, 0.5)

    def pointer(self):
        """Where the pointer is, in view pixels."""
        left, top, _, _ = self.place()
        values = dict(v.split(":") for v in self.desktop.run("xdotool", "getmouselocation").split())
        return (int(values["x"]) - left) // self.scale, (int(values["y"]) - top) // self.scale

    def click(self):
        self.desktop.run("xdotool", "mousedown", "1")
        time.sleep(0.03)
        self.desktop.run("xdotool", "mouseup", "1")

    def picture(self, window=None, whole=False):
        """The view as the game drew it; `whole`: as large as it is shown."""
        ppm = subprocess.run(["import", "-window", window or self.main, "-depth", "8", "ppm:-"],
                             env=self.desktop.env, capture_output=True, timeout=20).stdout
        if not ppm.startswith(b"P6"):
            return None
        return Picture(ppm) if whole or self.scale == 1 else Picture(ppm).shrunk(self.scale)

    def hud_shows(self):
        """The HUD's green labels are in the corner."""
        shot = self.picture()
        return shot is not None and sum(
            1 for _, _, (r, g, b) in shot.pixels(0, 0, 75, 75) if g > 200 and r < 60) > 80

    def points_row(self):
        """The yellow pixels of the points figure, which change with every hit."""
        shot = self.picture()
        return shot and frozenset((x, y) for x, y, (r, g, b) in shot.pixels(80, 0, 200, 16)
                                  if r > 200 and g > 200 and b < 90)

    def screen(self):
        """Which picture lies behind the main view ("bg", "f1bg", "hiscbg" or "nfobg"), judged
        where its screen draws nothing over it; None when none matches."""
        shot = self.picture()
        if shot is None:
            return None
        best, share = None, 0.0
        for name, area in (("bg", (300, 160, 400, 250)), ("f1bg", (300, 285, 400, 335)),
                           ("hiscbg", (300, 285, 400, 335)), ("nfobg", (300, 265, 400, 300))):
            reference = read_bmp(os.path.join(DATA, name + ".bmp"))
            pixels = shot.pixels(*area)
            same = sum(1 for x, y, rgb in pixels if rgb == reference.at(x, y)) / len(pixels)
            if same > share:
                best, share = name, same
        return best if share > 0.7 else None

    def overlay(self):
        """The colour of the centred overlay text, if any: many pixels of one exact colour
        spread across the middle band of the view."""
        shot = self.picture()
        if shot is None:
            return None
        counts = {}
        for x, y, rgb in shot.pixels(110, 170, 290, 205):
            if sum(rgb) > 90:
                counts.setdefault(rgb, []).append(x)
        colour, xs = max(counts.items(), key=lambda item: len(item[1]), default=(None, []))
        return colour if len(xs) > 100 and max(xs) - min(xs) > 100 else None

    def file(self, name):
        path = pathlib.Path(self.folder, name)
        return path.read_bytes() if path.exists() else None

    def output(self):
        self.log.seek(0)
        return self.log.read()

    def wait(self, timeout=10):
        """The exit status once the game has ended, or None."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def answer_message(self):
        """Closes the game's message box with Return; what it said on stderr, or None."""
        # xdotool cannot match the box's title, set as UTF-8 only; xwininfo can.
        box = wait_until(lambda: re.search(r'(0x[0-9a-f]+) "Zarnok 3D":', self.desktop.run(
            "xwininfo", "-root", "-tree")))
        if not box or not wait_until(lambda: "IsViewable" in self.desktop.run(
                "xwininfo", "-id", box.group(1))):
            return None
        for _ in range(10):  # until the box is ready for the key
            self.desktop.run("xdotool", "windowfocus", "--sync", box.group(1))
            self.key("Return")
            if self.wait(1) is not None:
                break
        return self.output() if self.wait() == 1 else None

    def quit(self):
        """F12; the exit status."""
        self.key("F12")
        return self.wait()

    def close(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()
        self.log.close()
        if self.own_folder:
            shutil.rmtree(self.folder, ignore_errors=True)


def velocity(pitch, yaw, speed=6.5):
    """A shot's velocity for the gun's angles in degrees, as the game works it out."""
    a, b = pitch * 3.14 / 180, yaw * 3.14 / 180
    along_b, along_a = speed * math.cos(b), speed * math.cos(a)
    vz = -along_b if abs(int(along_b)) < abs(int(along_a)) else -along_a
    return speed * math.sin(b), -speed * math.sin(a), vz


def aim(seen_x, seen_y, fall=0.4, delay=15):
    """The pointer position (view pixels) whose shot meets a level-1 target seen at (seen_x,
    seen_y) in a picture taken about `delay` ticks before the shot leaves, or None."""
    target = (2 * seen_x - 200, 2 * seen_y - 200 + fall * delay, -50.0)
    best = None
    guess_x = 200 + math.degrees(math.atan2(target[0] - 200, 50)) / 0.4
    guess_y = 200 + math.degrees(math.atan2(target[1] - 200, 50)) / 0.4
    for mx in range(int(guess_x) - 12, int(guess_x) + 13, 2):
        for my in range(int(guess_y) - 12, int(guess_y) + 13, 2):
            if not (0 <= mx < 400 and 0 <= my < 400):
                continue
            v = velocity((200 - my) * 0.4, (mx - 200) * 0.4)
            for n in range(1, 60):
                gap = max(abs(200 + v[0] * n - target[0]),
                          abs(200 + v[1] * n - target[1] - fall * n), abs(v[2] * n + 50))
                if best is None or gap < best[0]:
                    best = (gap, mx, my)
    return (best[1], best[2]) if best and best[0] < 8 else None


def targets(picture):
    """The centres of red patches in the playfield (the targets), lowest first."""
    cells = {}
    for x, y, (r, g, b) in picture.pixels(0, 80, 400, 330):
        if r > 70 and g == 0 and b == 0:
            cells.setdefault((x // 12, y // 12), []).append((x, y))
    return sorted(((sum(x for x, _ in c) / len(c), sum(y for _, y in c) / len(c))
                   for c in cells.values() if len(c) >= 4), key=lambda p: -p[1])


def shoot_until_hits(game, wanted, timeout=60):
    """Fires at the lowest target in reach until the points change `wanted` times, or the time
    is up; how often they changed."""
    hits, points, end = 0, game.points_row(), time.monotonic() + timeout
    while hits < wanted and time.monotonic() < end:
        plan = next(filter(None, (aim(x, y) for x, y in targets(game.picture()))), None)
        if plan is None:
            continue
        game.point(*plan)
        game.click()
        if wait_until(lambda: game.points_row() != points, 1.5):
            hits, points = hits + 1, game.points_row()
    return hits
