#!/usr/bin/env python3
"""The game's memory and first frame with a player's own data files at the largest its checks let
through, all eight at once (zarnok_worst_data makes them): started on a bare X server in a folder
holding them, the time until the first frame shows its HUD, and the peak of its resident memory
(VmHWM) once it plays, against the targets of 150 MB and 1 s. Run by scripts/bench.sh.
    tools/bench/worst_data.py BUILD_FOLDER [RUNS]"""
import pathlib
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SOURCE = pathlib.Path(__file__).resolve().parent.parent.parent
sys.path.insert(0, str(SOURCE / "tests/e2e"))
from harness import Desktop, Game, wait_until  # noqa: E402


def peak_megabytes(pid):
    status = pathlib.Path("/proc/%d/status" % pid).read_text()
    return int(next(line.split()[1] for line in status.splitlines()
                    if line.startswith("VmHWM"))) / 1024


def main():
    build = pathlib.Path(sys.argv[1]).resolve()
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    folder = tempfile.mkdtemp(prefix="zarnok-worst-")
    subprocess.run([build / "tools/bench/zarnok_worst_data", folder], check=True)
    desktop = Desktop("1920x1080")
    firsts, peaks = [], []
    try:
        for _ in range(runs):
            began = time.monotonic()
            game = Game(desktop, folder, (), env={"ZARNOK_DATA_FOLDER": str(build / "data")},
                        program=str(build / "zarnok3d"))
            shown = game.find_windows(frame=False) and wait_until(game.hud_shows, 10)
            firsts.append(time.monotonic() - began if shown else float("inf"))
            time.sleep(2)  # the music, loaded at the first tick, and some play
            peaks.append(peak_megabytes(game.process.pid))
            game.quit()
            game.close()
    finally:
        desktop.close()
        sizes = {p.name: p.stat().st_size for p in pathlib.Path(folder).iterdir()}
        shutil.rmtree(folder, ignore_errors=True)
    first, peak = statistics.median(firsts), max(peaks)
    print("all eight data files at their largest (%s):" % ", ".join(
        "%s %d KB" % (name, size // 1024) for name, size in sorted(sizes.items())
        if name.endswith((".bmp", ".wav", ".xm"))))
    print("  first frame %.0f ms (median of %d; target 1000 ms): %s" % (
        1000 * first, runs, "met" if first < 1 else "FAILED"))
    print("  peak memory %.1f MB (most of %d; target 150 MB): %s" % (
        peak, runs, "met" if peak < 150 else "FAILED"))


if __name__ == "__main__":
    main()
