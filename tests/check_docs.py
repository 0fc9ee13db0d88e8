#!/usr/bin/env python3
"""The README against the facts that stand in one place each: its table of keys is
data/keys.txt's, and it names every data file of data/data_files.txt. (--help and the manual
page are generated from the same.)"""
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
print("\n".join(wrong) or "the README agrees with the keys and the data files")
sys.exit(1 if wrong else 0)
