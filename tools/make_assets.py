#!/usr/bin/python3
"""Make every member of the program's resource archive from the raw source data.

usage: /usr/bin/python3 tools/make_assets.py [SOURCE_DIR] [--out DATA_DIR]

SOURCE_DIR defaults to ../shared/data and DATA_DIR to data/, both relative to
the project root. The output is deterministic: the same sources and the same
numpy/Pillow (libjpeg) give the same bytes.
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True

import atmosphere  # noqa: E402
import flares  # noqa: E402
import moon  # noqa: E402
import stars  # noqa: E402
import surface  # noqa: E402

ROOT = os.path.dirname(HERE)


def make_all(source):
    members = {}
    members.update(flares.make_flares())
    members.update(atmosphere.make_atmosphere_member())
    members.update(surface.make_surfaces(os.path.join(source, "mars", "mars-viking-colorized-4k.jpg"),
                                         os.path.join(source, "mars", "mars-mola-normal-2k.png")))
    members.update(moon.make_moon(os.path.join(source, "phobos", "phobos-shape.obj"),
                                  os.path.join(source, "phobos", "phobos-albedo.jpg")))
    members["stars.dat"] = stars.make_star_list(os.path.join(source, "stars", "bsc5.dat"))
    return members


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("source", nargs="?", default=os.path.join(ROOT, "..", "shared", "data"),
                        help="folder with the raw source data (default: ../shared/data)")
    parser.add_argument("--out", default=os.path.join(ROOT, "data"),
                        help="folder that receives the archive members (default: data/)")
    args = parser.parse_args()
    members = make_all(args.source)
    os.makedirs(args.out, exist_ok=True)
    for name in sorted(members):
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(members[name])
        print("%-14s %8d bytes" % (name, len(members[name])))
    extra = sorted(set(os.listdir(args.out)) - set(members))
    if extra:
        print("warning: %s holds files that are not archive members: %s" % (args.out, ", ".join(extra)))
    print("total          %8d bytes" % sum(len(b) for b in members.values()))


if __name__ == "__main__":
    main()
