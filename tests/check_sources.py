#!/usr/bin/env python3
"""What the sources must agree on: the README's table of keys is data/keys.txt's and it names
every data file of data/data_files.txt (--help and the manual page are generated from the same);
SDL's, X11's and Wayland's headers are included by the SDL platform and sound layer alone, never
by the game or its unit tests; Windows' own headers by the files of Windows (*_win32.cpp)
alone."""
import pathlib
import re
import sys

source = pathlib.Path(__file__).resolve().parent.parent
readme = (source / "README.md").read_text()


def rows(path):
    return [line for line in (source / path).read_text().splitlines() if line and line[0] != "#"]


keys = [tuple(part.strip() for part in row.split("|")) for row in rows("data/keys.txt")]
section = readme.split("## Keys", 1)[1].split("\n## ", 1)[0]
readme_keys = re.findall(r"^\| (.+?) \| (.+?) \|$", section, re.M)[2:]  # past the heading
wrong = [f"README's keys lack {row}" for row in keys if row not in readme_keys]
wrong += [f"README's keys have {row}, which data/keys.txt has not" for row in readme_keys
          if row not in keys]
wrong += [f"README does not name {row.split()[0]}" for row in rows("data/data_files.txt")
          if f"`{row.split()[0]}`" not in readme]
game = [*source.glob("src/**/*.*"), *source.glob("tests/unit/*"), *source.glob("tests/fake/*")]
for path in game:
    name = path.relative_to(source).as_posix()
    if not re.match(r"src/platform/sdl/|src/audio/sound_library_mixer\.cpp$", name) and re.search(
            r'^\s*#\s*include\s*[<"](SDL|X11/|wayland-)', path.read_text(), re.M):
        wrong.append(f"{name} includes SDL's, X11's or Wayland's headers")
for path in source.glob("src/**/*.*"):
    name = path.relative_to(source).as_posix()
    if not name.endswith("_win32.cpp") and re.search(
            r'^\s*#\s*include\s*<(windows|shlobj|dwmapi|dxgi)\.h>', path.read_text(), re.M):
        wrong.append(f"{name} includes Windows' headers outside a file of Windows")
print("\n".join(wrong) or "the README agrees with the keys and data files; SDL keeps to its layer, "
      "Windows to its files")
sys.exit(1 if wrong else 0)
