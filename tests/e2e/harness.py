"""The real zarnok3d on a desktop of its own (see Desktop), in a folder of its own, driven with
xdotool and seen through screenshots, as a player would: keys are held long enough to be seen,
and their effects are waited for, never slept for."""
import ctypes
import dataclasses
import functools
import glob
import os
import pathlib
import re
import select
import shutil
import signal
import socket
import subprocess
import tempfile
import time

GAME = os.environ.get("ZARNOK_GAME", "zarnok3d")
DATA = os.environ.get("ZARNOK_DATA", ".")
SOURCE = os.environ.get("ZARNOK_SOURCE", os.path.join(os.path.dirname(__file__), "../.."))
# A game played on a bare X server and kept: three hits, the pause, the side screens, the volume
# keys and a name typed into the table's last row; and the line its replay ends with.
ADA = os.path.join(SOURCE, "tests/replays/ada.zrp")
ADA_END = 'zarnok3d replay: points 300, level 1, hits 3, shots 3, row 5 "Ada", 2029 frames in '
# Every game kept, with the line its replay ends with on every system: Ada's, and one played on
# Windows under Wine (29 hits, level 3, a name).
KEPT_GAMES = [(ADA, ADA_END), (os.path.join(SOURCE, "tests/replays/wine.zrp"),
               'zarnok3d replay: points 3313, level 3, hits 29, shots 132, row 5 "W1", 3982 frames')]

# The game's data files, as the build's table lists them.
FILES = [line.split()[0] for line in pathlib.Path(SOURCE, "data/data_files.txt").read_text().splitlines()
         if line and not line.startswith("#")]
VERSION = re.search(r"project\(zarnok3d VERSION ([\d.]+)",
                    pathlib.Path(SOURCE, "CMakeLists.txt").read_text()).group(1)
TITLE = "Zarnok 3D v" + VERSION
# The game built for Windows (scripts/windows.sh), and Wine to run it.
WINDOWS = os.environ.get("ZARNOK_WINDOWS", os.path.join(SOURCE, "build-windows"))
WINE = "/usr/lib/wine/wine64"


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

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def pixels(self, left, top, right, bottom):
        return [(x, y, self.at(x, y)) for y in range(top, bottom) for x in range(left, right)]

    def cropped(self, left, top, width, height):
        """The rectangle of the picture; what lies outside it is black."""
        black = b"\0\0\0"
        rows = []
        for y in range(top, top + height):
            inside = 0 <= y < self.height
            row = self.data[3 * (y * self.width + max(left, 0)):
                            3 * (y * self.width + min(left + width, self.width))] if inside else b""
            rows.append(black * max(0, -left) + row)
            rows[-1] += black * (width - len(rows[-1]) // 3)
        return Picture(width, height, b"".join(rows))

    def shrunk(self, scale):
        """Every scale-th pixel of every scale-th row: the view of a window shown enlarged."""
        rows = (self.data[3 * y * self.width:3 * (y + 1) * self.width]
                for y in range(0, self.height, scale))
        data = b"".join(row[i:i + 3] for row in rows for i in range(0, len(row), 3 * scale))
        return Picture(self.width // scale, self.height // scale, data)


@functools.lru_cache
def read_bmp(path):
    """A 24-bit bottom-up BMP as a Picture."""
    raw = pathlib.Path(path).read_bytes()
    start, width, height = (int.from_bytes(raw[a:a + 4], "little") for a in (10, 18, 22))
    stride = (3 * width + 3) // 4 * 4
    rows = [raw[start + (height - 1 - y) * stride:start + (height - 1 - y) * stride + 3 * width]
            for y in range(height)]
    rgb = bytes(b for row in rows for i in range(0, len(row), 3) for b in row[i:i + 3][::-1])
    return Picture(width, height, rgb)


def start_x_server(command, timeout=20):
    """An X server told to write its display number to a pipe; the process and the number."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(command + ["-displayfd", str(write_end)], pass_fds=[write_end],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n") and select.select([read_end], [], [], timeout)[0]:
        number += os.read(read_end, 16) or b"\n"  # the whole line: the server dies if
    os.close(read_end)  # its pipe closes before it has written the end of it
    return server, number.decode().strip()


XORG_DUMMY = """Section "Device"\n Identifier "d"\n Driver "dummy"\n VideoRam 256000\nEndSection
Section "Monitor"\n Identifier "m"\n HorizSync 5-1000\n VertRefresh 5-200\nEndSection
Section "Screen"\n Identifier "s"\n Device "d"\n Monitor "m"\n DefaultDepth 24
 SubSection "Display"\n  Depth 24\n  Virtual 5760 2160\n EndSubSection\nEndSection
"""


X11 = ctypes.CDLL("libX11.so.6")


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p)] + [
                   (name, ctypes.c_int) for name in ("byte_order", "bitmap_unit", "bit_order",
                                                     "bitmap_pad", "depth", "bytes_per_line")]


@dataclasses.dataclass(frozen=True)
class DesktopKind:
    """One desktop the journeys run on: how it starts, and what it can do."""
    server: str = "xvfb"         # "xvfb", or "xorg": the dummy driver, with two monitors
    manager: str = None          # the Desktop method that starts its window manager or compositor
    announces: bool = False      # its manager says so on the root window (_NET_SUPPORTING_WM_CHECK)
    wayland: bool = False        # the game runs on Wayland itself, with no X window of its own
    focus: str = "windowfocus"   # how the game is given the keyboard: "windowfocus",
    #                              "windowactivate", "click-title" (Wayland), or "own" (the
    #                              desktop gives a new window the focus itself)
    moves_pointer: bool = True   # the journeys may move the pointer over the game
    full_screens: bool = True    # F11 may be pressed
    grows_on_f11: bool = True    # F11 enlarges the view (a bare server has no full screen)
    keeps_aim: bool = False      # F11 and back keep the pointer on its view pixel (an X server of
    #                              its own)
    keeps_place: bool = True     # back from the full screen, the window is where it was
    minimises: bool = False      # the desktop minimises the window, and gives it back
    compositor_holds_pointer: bool = False  # XWayland: the compositor holds the pointer in the
    #                                         window, not the X server in the playfield
    restores_full_screen: bool = True       # a minimised full screen comes back full


DESKTOPS = {
    "bare": DesktopKind(grows_on_f11=False, keeps_aim=True),
    "openbox": DesktopKind(manager="start_openbox", announces=True, focus="windowactivate",
                           keeps_aim=True, minimises=True),
    "i3": DesktopKind(manager="start_i3", announces=True, focus="windowactivate"),
    "xfwm4": DesktopKind(manager="start_xfwm4", announces=True, focus="windowactivate",
                         keeps_aim=True, minimises=True),
    "weston": DesktopKind(manager="start_weston", focus="own", keeps_place=False,
                          compositor_holds_pointer=True),
    "wayland": DesktopKind(manager="start_weston", wayland=True, focus="click-title"),
    "kwin": DesktopKind(manager="start_kwin", focus="windowactivate", minimises=True,
                        compositor_holds_pointer=True, restores_full_screen=False),
    "kwin-wayland": DesktopKind(manager="start_kwin", wayland=True, focus="click-title"),
    # Nested mutter falls over when a held pointer moves, and as the full screen brings it in.
    "mutter": DesktopKind(manager="start_mutter", focus="windowactivate", moves_pointer=False,
                          full_screens=False, minimises=True),
    "mutter-wayland": DesktopKind(manager="start_mutter", wayland=True, focus="own",
                                  moves_pointer=False),
    "monitors": DesktopKind(server="xorg", manager="start_openbox", announces=True,
                            focus="windowactivate", keeps_aim=True, minimises=True),
}


class Desktop:
    """A screen of the test's own, the game's desktop on it, one of DESKTOPS: Xvfb bare or under a
    window manager ("openbox", "i3", "xfwm4"), a Wayland compositor inside Xvfb with the game
    through its XWayland ("weston", "kwin", "mutter") or on Wayland itself ("wayland",
    "kwin-wayland", "mutter-wayland"), or Xorg's dummy driver with a 1920x1080 monitor and a
    primary 3840x2160 one at its right, under openbox ("monitors"). `env` reaches the screen that
    input and screenshots go to; `game_env` is what the game starts with; `can` says what the
    desktop can do."""

    def __init__(self, size="1024x768", kind="bare"):
        self.kind, self.can = kind, DESKTOPS[kind]
        self.folder = tempfile.mkdtemp(prefix="zarnok-desktop-")
        self.processes = []
        if self.can.server == "xorg":
            config = pathlib.Path(self.folder, "xorg.conf")
            config.write_text(XORG_DUMMY)
            server, number = start_x_server(
                ["Xorg", "-config", str(config), "-noreset", "-nolisten", "tcp", "-logfile",
                 os.path.join(self.folder, "xorg.log")])
        else:
            server, number = start_x_server(["Xvfb", "-screen", "0", size + "x24", "-noreset",
                                             "-nolisten", "tcp"])
        self.processes.append(server)
        self.env = dict(os.environ, DISPLAY=":" + number)
        wait_until(lambda: self.run("xdotool", "getdisplaygeometry"))
        self.game_env = dict(self.env)
        self.display = None
        if self.can.server == "xorg":
            self.run("xrandr", "--newmode", "3840x2160", "712.75", "3840", "4160", "4576", "5312",
                     "2160", "2163", "2168", "2237", "-hsync", "+vsync")
            self.run("xrandr", "--addmode", "DUMMY1", "3840x2160")
            self.run("xrandr", "--output", "DUMMY0", "--mode", "1920x1080", "--pos", "0x0",
                     "--output", "DUMMY1", "--mode", "3840x2160", "--pos", "1920x0", "--primary")
            wait_until(lambda: "Monitors: 2" in self.run("xrandr", "--listmonitors"))
        self.size = tuple(int(re.search(r"%s: +(\d+)" % what, self.run("xwininfo", "-root"))[1])
                          for what in ("Width", "Height"))
        if self.can.manager:
            getattr(self, self.can.manager)()
        if self.can.announces:
            wait_until(lambda: "window id" in self.run("xprop", "-root",
                                                       "_NET_SUPPORTING_WM_CHECK"))
        # The game on Wayland itself has no X window to be found, placed or read the pointer of.
        self.wayland = self.can.wayland
        if self.wayland:
            self.game_env.update(WAYLAND_DISPLAY="zarnok", SDL_VIDEODRIVER="wayland")

    def start_openbox(self):
        self.start(["openbox", "--sm-disable"])

    def start_i3(self):
        config = pathlib.Path(self.folder, "i3.conf")
        config.write_text("font pango:DejaVu Sans 8\n")
        self.start(["i3", "-c", str(config)])

    def start_xfwm4(self):
        self.start_session_bus()
        self.start(["xfwm4", "--compositor=off", "--sm-client-disable"])

    def start(self, command, **options):
        self.processes.append(subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL, **options))

    def start_weston(self):
        """weston's window is the whole screen; its XWayland takes a display number of its own."""
        self.env["XDG_RUNTIME_DIR"] = os.path.join(self.folder, "runtime")
        os.mkdir(self.env["XDG_RUNTIME_DIR"], 0o700)
        log = os.path.join(self.folder, "weston.log")
        width, height = self.size
        self.start(["weston", "--backend=x11-backend.so", "--width=%d" % width,
                    "--height=%d" % height, "--xwayland", "--socket=zarnok", "--idle-time=0",
                    "--log=" + log])
        listening = wait_until(lambda: os.path.exists(log) and re.search(
            r"xserver listening on display (:\d+)", pathlib.Path(log).read_text()))
        self.game_env = dict(self.env, DISPLAY=listening.group(1))
        # weston moves its own pointer by the motion it is told of, from wherever it started, and
        # a move told before its input is ready is lost: once its desktop is drawn, a corner stops
        # both pointers, and from there on they go together.
        wait_until(lambda: self.screenshot(500, 100, 1, 1).at(0, 0) != (0, 0, 0))
        self.bring_pointer_in()

    def bring_pointer_in(self):
        """A corner stops both the X server's pointer and a nested compositor's, which moves its
        own by the motion it is told of: from there on they go together, to the middle."""
        width, height = self.size
        self.run("xdotool", "mousemove", "0", "0")
        self.run("xdotool", "mousemove", str(width // 2), str(height // 2))

    def start_session_bus(self):
        """A D-Bus session of the desktop's own, which kwin, mutter and xfwm4's settings need."""
        runtime = os.path.join(self.folder, "runtime")
        os.makedirs(runtime, 0o700, exist_ok=True)
        self.env["XDG_RUNTIME_DIR"] = runtime
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               text=True)
        self.processes.append(bus)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        return runtime

    def start_kwin(self):
        """kwin inside Xvfb, drawing with QPainter (its OpenGL finds nothing to draw with there);
        its XWayland gets the sockets kwin's own wrapper would make, on a free display."""
        runtime = self.start_session_bus()
        width, height = self.size
        number = next(n for n in range(60, 200) if not os.path.exists("/tmp/.X%d-lock" % n))
        path = "/tmp/.X11-unix/X%d" % number
        os.makedirs("/tmp/.X11-unix", exist_ok=True)
        self.sockets = [socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) for _ in range(2)]
        for sock, name in zip(self.sockets, (path, "\0" + path)):
            sock.bind(name)
            sock.listen(16)
        self.x_files = ["/tmp/.X%d-lock" % number, path]
        pathlib.Path(self.x_files[0]).write_text("%10d\n" % os.getpid())
        # A copy: the installed binary's file capabilities make exec refuse it to root.
        kwin = os.path.join(self.folder, "kwin_wayland")
        shutil.copy("/usr/bin/kwin_wayland", kwin)
        fds = [str(sock.fileno()) for sock in self.sockets]
        self.env.update(KWIN_COMPOSE="Q")
        self.start([kwin, "--x11-display", self.env["DISPLAY"], "--width", str(width), "--height",
                    str(height), "--socket", "zarnok", "--xwayland", "--xwayland-display",
                    ":%d" % number, "--xwayland-fd", fds[0], "--xwayland-fd", fds[1],
                    "--no-lockscreen", "--no-global-shortcuts", "--no-kactivities"],
                   pass_fds=[sock.fileno() for sock in self.sockets])
        self.game_env = dict(self.env, DISPLAY=":%d" % number)
        wait_until(lambda: os.path.exists(os.path.join(runtime, "zarnok")))
        wait_until(lambda: self.run("xdpyinfo", game=True), 20)

    def start_mutter(self):
        """mutter nested inside Xvfb; its XWayland asks for a cookie, which it leaves in the
        runtime folder."""
        runtime = self.start_session_bus()
        width, height = self.size
        self.env.update(MUTTER_DEBUG_DUMMY_MODE_SPECS="%dx%d" % (width, height),
                        RUNNING_UNDER_GDM="1")
        log = os.path.join(self.folder, "mutter.log")
        self.processes.append(subprocess.Popen(
            ["mutter", "--nested", "--wayland", "--wayland-display=zarnok", "--sm-disable"],
            env=self.env, stdout=open(log, "w"), stderr=subprocess.STDOUT))
        display = wait_until(lambda: re.search(r"Using public X11 display (:\d+)",
                                               pathlib.Path(log).read_text()), 20)
        cookie = wait_until(lambda: glob.glob(os.path.join(runtime, ".mutter-Xwaylandauth.*")))
        self.game_env = dict(self.env, DISPLAY=display.group(1), XAUTHORITY=cookie[0])
        # Nested, it falls over when a pointer the game holds moves: the pointer waits in a
        # corner, away from the game.
        self.run("xdotool", "mousemove", "0", "0")

    def set_screen(self, width, height):
        """The screen takes another size, as a monitor's mode set anew."""
        mode = "%dx%d" % (width, height)
        if mode not in self.run("xrandr"):
            self.run("xrandr", "--newmode", mode, "65.00", str(width), str(width + 24),
                     str(width + 160), str(width + 320), str(height), str(height + 3),
                     str(height + 9), str(height + 38))
            self.run("xrandr", "--addmode", "screen", mode)
        self.run("xrandr", "--output", "screen", "--mode", mode)
        self.size = (width, height)

    def stop_compositor(self):
        """The compositor ends, as when a session is left, and the X server it runs in stays."""
        self.processes[-1].terminate()
        self.processes[-1].wait()

    def run(self, *command, timeout=20, game=False):
        done = subprocess.run(command, env=self.game_env if game else self.env,
                              capture_output=True, text=True, timeout=timeout)
        return done.stdout

    def screenshot(self, left=0, top=0, width=0, height=0, channels=(2, 1, 0)):
        """The screen, or the rectangle of it given (what lies off the screen black), read
        straight from the X server: a few milliseconds, where a player's aim cannot wait.
        `channels=(1,)` gives the green bytes alone, quicker on a large screen."""
        if self.display is None:
            X11.XOpenDisplay.restype = ctypes.c_void_p
            self.display = ctypes.c_void_p(X11.XOpenDisplay(self.env["DISPLAY"].encode()))
            X11.XDefaultRootWindow.restype = ctypes.c_ulong
            X11.XGetImage.restype = ctypes.POINTER(XImage)
            X11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + [
                ctypes.c_uint] * 2 + [ctypes.c_ulong, ctypes.c_int]
        screen_width, screen_height = self.size
        width, height = width or screen_width, height or screen_height
        x0, y0 = max(left, 0), max(top, 0)
        x1, y1 = min(left + width, screen_width), min(top + height, screen_height)
        if x1 <= x0 or y1 <= y0:
            return Picture(width, height, bytes(3 * width * height))
        image = X11.XGetImage(self.display, X11.XDefaultRootWindow(self.display), x0, y0,
                              x1 - x0, y1 - y0, 0xFFFFFFFF, 2).contents  # ZPixmap
        w, h, stride = image.width, image.height, image.bytes_per_line
        raw = ctypes.string_at(image.data, stride * h)
        X11.XDestroyImage(ctypes.byref(image))
        blue_green_red = b"".join(raw[y * stride:y * stride + 4 * w] for y in range(h))
        picked = bytearray(len(channels) * w * h)
        for i, channel in enumerate(channels):
            picked[i::len(channels)] = blue_green_red[channel::4]
        if len(channels) == 1:
            return bytes(picked)
        shot = Picture(w, h, bytes(picked))
        return shot.cropped(left - x0, top - y0, width, height)

    def close(self):
        if self.display is not None:  # before the server goes: Xlib would end the tests
            X11.XCloseDisplay(self.display)
            self.display = None
        for process in reversed(self.processes):
            process.terminate()
            process.wait()
        for sock in getattr(self, "sockets", []):
            sock.close()
        for name in getattr(self, "x_files", []):
            pathlib.Path(name).unlink(missing_ok=True)
        shutil.rmtree(self.folder, ignore_errors=True)


class Wine:
    """A Windows of the test's own on the desktop: a fresh Wine prefix whose player is `user`,
    its processes ended with it. The game runs as a Windows build installs it, from WINDOWS."""

    def __init__(self, desktop, user="player"):
        self.prefix = os.path.join(desktop.folder, "wine")
        self.env = dict(desktop.game_env, WINEPREFIX=self.prefix, WINEDEBUG="-all", USER=user,
                        LOGNAME=user)
        self.run("wineboot", "-i", timeout=120)
        self.appdata = os.path.join(self.prefix, "drive_c/users", user, "AppData")
        # Where the game keeps the player's files: %APPDATA%\zarnok3d.
        self.player_folder = os.path.join(self.appdata, "Roaming/zarnok3d")
        self.game_folder = glob.glob(os.path.join(WINDOWS, "stage/zarnok3d-*"))[0]
        self.game = os.path.join(self.game_folder, "zarnok3d.exe")

    def run(self, *command, timeout=60):
        return subprocess.run([WINE, *command], env=self.env, capture_output=True, text=True,
                              timeout=timeout)

    def start(self, desktop, args=(), env=None):
        """The game started as from the desktop, in the player's folder it makes itself."""
        os.makedirs(self.player_folder, exist_ok=True)
        return Game(desktop, self.player_folder, (), args, dict(self.env, **(env or {})),
                    [WINE, self.game])

    def close(self):
        subprocess.run([WINE.replace("wine64", "wineserver64"), "-k"], env=self.env,
                       capture_output=True, timeout=30)


class Game:
    """One zarnok3d run in a folder holding the game's files and what the setup adds. The views
    are found on the screen by their pictures, so that every desktop is seen alike."""

    def __init__(self, desktop, folder=None, files=FILES, args=(), env=None, program=None):
        self.desktop = desktop
        self.own_folder = folder is None
        self.folder = folder or tempfile.mkdtemp(prefix="zarnok-e2e-")
        for name in files:
            shutil.copy(os.path.join(DATA, name), self.folder)
        self.log = tempfile.TemporaryFile("w+")
        environment = dict(desktop.game_env, SDL_AUDIODRIVER="dummy", **(env or {}))
        command = program if isinstance(program, list) else [program or GAME]
        self.process = subprocess.Popen([*command, *args], cwd=self.folder, env=environment,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.main = self.gun = None
        self.origin, self.scale = (0, 0), 1

    def find_windows(self, timeout=20, frame=True):
        """Waits for the views and, with `frame`, the first frame; true when they showed."""
        if self.desktop.wayland:
            return bool(wait_until(self.locate, timeout))
        def both():
            main, gun = (self.desktop.run("xdotool", "search", "--onlyvisible", "--name",
                                          "^%s$" % title, game=True).split()
                         for title in (TITLE, "Gun"))
            return main and (main[0], gun[0] if gun else None)
        found = wait_until(both, timeout)
        if found:
            self.main, self.gun = found
            left, top, width, _ = self.place()
            self.origin, self.scale = (left, top), max(1, width // 400)  # until it is seen
            self.focus()
        return bool(found) and (not frame or bool(wait_until(self.locate, 10)))

    def locate(self):
        """Finds the main view on the screen; true when found (the game must be showing its
        playfield). Where the game has an X window, the view lies where its window's size says,
        as a window its own size, the one window or a larger one shows it; on Wayland it is
        searched for by a stretch of the background's top row, at any whole scale."""
        if self.main is None:
            return self.search()
        x, y, w, h = self.place()
        candidates = [((x, y), w // 400)] if w == h else [((x + w // 5, y), h // 400)] if (
            4 * w == 5 * h) else []
        for beside in (200, 0):
            scale = max(1, min(h // 400, w // (400 + beside)))
            candidates.append((((w - 400 * scale) // 2 + x, (h - 400 * scale) // 2 + y), scale))
        for self.origin, self.scale in candidates:
            if self.scale > 0 and self.shows_playfield():
                return True
        return False

    def shows_playfield(self):
        """The background's top row is where the view's top row should be, at its left edge too
        (no frame over it), and the HUD over it."""
        row = read_bmp(os.path.join(DATA, "bg.bmp")).data
        for left in (300, 0):
            top = self.picture(left=left, width=40, height=1)
            # mutter composes the windows a unit off here and there.
            if top is None or any(abs(a - b) > 2 for a, b in zip(
                    top.data, row[3 * left:3 * (left + 40)])):
                return False
        return self.hud_shows()

    def search(self):
        green = self.desktop.screenshot(channels=(1,))
        row = read_bmp(os.path.join(DATA, "bg.bmp")).data[3 * 300 + 1:3 * 340:3]
        width = self.desktop.size[0]
        for scale in range(1, 7):
            at = green.find(bytes(b for b in row for _ in range(scale)))
            if at >= 0:
                self.origin, self.scale = (at % width - 300 * scale, at // width), scale
                if self.shows_playfield():
                    return True
        return False

    def place(self, window=None):
        """The client area's left, top, width and height on the screen."""
        lines = self.desktop.run("xwininfo", "-id", window or self.main, game=True).splitlines()
        values = dict(line.strip().split(":", 1) for line in lines if line.count(":") == 1)
        return tuple(int(values.get(k, "0")) for k in ("Absolute upper-left X",
                                                        "Absolute upper-left Y", "Width", "Height"))

    def frame(self, window):
        """The leftmost and rightmost columns of the window manager's frame around `window`."""
        while True:
            parent = re.search(r"Parent window id: (0x[0-9a-f]+)( \(the root window\))?",
                               self.desktop.run("xwininfo", "-children", "-id", window, game=True))
            if parent is None or parent.group(2):
                left, _, width, _ = self.place(window)
                return left, left + width - 1
            window = parent.group(1)

    def focus(self):
        how = self.desktop.can.focus
        if how == "own":
            return  # it gives a new window the focus, and a click may fall into the held field
        if how == "click-title":  # on the title bar, where no shot is fired
            self.desktop.run("xdotool", "mousemove", str(self.origin[0] + 200 * self.scale),
                             str(self.origin[1] - 12), "click", "1")
        elif self.main:
            self.desktop.run("xdotool", how, "--sync", self.main, timeout=5, game=True)

    def key(self, name):
        """Presses and releases a key, held long enough for the game to see it down."""
        self.desktop.run("xdotool", "keydown", name)
        time.sleep(0.05)
        self.desktop.run("xdotool", "keyup", name)

    def point(self, x, y):
        """Moves the mouse to a pixel of the view, and waits for the gun to have turned to it
        and stopped (a click before the game has drawn the new aim fires along the last one;
        a desktop under load may pass the move on late)."""
        s, pictures = self.scale, [self.gun_picture().data]
        self.desktop.run("xdotool", "mousemove", str(self.origin[0] + x * s + s // 2),
                         str(self.origin[1] + y * s + s // 2))
        def settled():
            time.sleep(0.04)
            pictures.append(self.gun_picture().data)
            return pictures[-1] == pictures[-2] != pictures[0]
        wait_until(settled, 1.5)

    def pointer_on_screen(self):
        """Where the pointer is on the screen, as the game's X server has it."""
        values = dict(v.split(":") for v in self.desktop.run("xdotool", "getmouselocation",
                                                             game=True).split())
        return int(values["x"]), int(values["y"])

    def pointer(self):
        """Where the pointer is, in view pixels, as the game's X server has it."""
        x, y = self.pointer_on_screen()
        return (x - self.origin[0]) // self.scale, (y - self.origin[1]) // self.scale

    def push_pointer(self, dx, dy, steps=24):
        """Moves the pointer far, in steps, as a hand on a mouse does."""
        for _ in range(steps):
            self.desktop.run("xdotool", "mousemove_relative", "--", str(dx), str(dy))

    def click(self):
        self.desktop.run("xdotool", "mousedown", "1")
        time.sleep(0.03)
        self.desktop.run("xdotool", "mouseup", "1")

    def picture(self, whole=False, left=0, top=0, width=400, height=400):
        """The view (or a part of the screen beside it) as the game drew it; `whole`: as large
        as it is shown."""
        s = self.scale
        part = self.desktop.screenshot(self.origin[0] + left * s, self.origin[1] + top * s,
                                       width * s, height * s)
        return part if part is None or whole or s == 1 else part.shrunk(s)

    def gun_picture(self):
        """The gun view: in its window while that is shown, else at the main view's left, tops
        level."""
        if self.gun is not None and "IsViewable" in self.desktop.run("xwininfo", "-id", self.gun,
                                                                     game=True):
            x, y, _, _ = self.place(self.gun)
            return self.desktop.screenshot(x, y, 100 * self.scale, 150 * self.scale)
        return self.picture(True, -100, 0, 100, 150)

    def hud_shows(self):
        """The HUD's green labels are in the corner."""
        shot = self.picture()
        return shot is not None and sum(
            1 for _, _, (r, g, b) in shot.pixels(0, 0, 75, 75) if g > 200 and r < 60) > 80

    def figure(self, line):
        """The yellow pixels of a figure of the HUD: 0 the points, 1 the accuracy."""
        shot = self.picture()
        return shot and frozenset((x, y) for x, y, (r, g, b) in shot.pixels(
            80, 20 * line, 200, 20 * line + 16) if r > 200 and g > 200 and b < 90)

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
