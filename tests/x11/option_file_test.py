#!/usr/bin/python3
"""The option file XScreenSaver's settings read (x11/tellaro.xml): well-formed XML of the
documented elements, and every option it can put on the command line is one the program
lists in -help and accepts, with the program's own range and default.

Usage: option_file_test.py <program> <tellaro.xml>
"""
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

KNOWN = {"command", "number", "boolean", "select", "_description", "hgroup", "vgroup"}


def program_help(program):
    done = subprocess.run([program, "-help"], capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, done.stderr
    options = {}
    for line in done.stdout.splitlines():
        match = re.match(r"^  (-[\w-]+(?:, -[\w-]+)?)(?: [A-Z]+)?\s{2,}(.*)$", line)
        if match:
            for name in match.group(1).split(", "):
                options[name] = match.group(2)
    return options


def accepts(program, args):
    """The program's parser takes `args` (checked with -help, which draws nothing)."""
    done = subprocess.run([program] + args + ["-help"], capture_output=True, text=True, timeout=60)
    return done.returncode == 0


def single_dash(word):
    return "-" + word.lstrip("-")


def main(program, path):
    failures = []

    def check(condition, text):
        if not condition:
            failures.append(text)

    root = ElementTree.parse(path).getroot()  # raises on a file that is not well-formed
    check(root.tag == "screensaver", "the root element is <screensaver>")
    check(root.get("name") == "tellaro", 'name="tellaro", the program\'s file name')
    check(bool(root.get("_label")), "a _label for the list")
    listed = program_help(program)

    def check_switches(args, where):
        for word in args:
            if word.startswith("-"):
                check(single_dash(word) in listed, f"{where}: {word} is not in the program's -help")
        check(accepts(program, args), f"{where}: the program refuses {' '.join(args)}")

    count = 0
    for element in root.iter():
        if element is root or element.tag == "option":
            continue
        check(element.tag in KNOWN, f"<{element.tag}> is not an element XScreenSaver's settings know")
        count += 1
        if element.tag == "command":
            check_switches(element.get("arg").split(), "<command>")
        elif element.tag == "boolean":
            set_arg, unset_arg = element.get("arg-set"), element.get("arg-unset")
            check((set_arg is None) != (unset_arg is None), f"boolean {element.get('id')}: arg-set or arg-unset")
            arg = set_arg or unset_arg
            check_switches(arg.split(), f"boolean {element.get('id')}")
            # The default is the state that adds nothing: an arg-unset box is on by default.
            switch = single_dash(arg.split()[0])
            on = switch if set_arg else "-" + switch[len("-no-"):]
            off = "-no-" + on[1:]
            default = on if unset_arg else off
            text = listed.get(switch, "")
            check(text.endswith("default " + default), f"boolean {element.get('id')}: the program's default is not {default}")
        elif element.tag == "number":
            low, high, default = (int(element.get(k)) for k in ("low", "high", "default"))
            arg = element.get("arg")
            check("%" in arg, f"number {element.get('id')}: arg has no %")
            for value in (low, high, default):
                check_switches(arg.replace("%", str(value)).split(), f"number {element.get('id')}")
            for value in (low - 1, high + 1):
                check(not accepts(program, arg.replace("%", str(value)).split()),
                      f"number {element.get('id')}: the program takes {value}, outside {low}..{high}")
            text = listed.get(single_dash(arg.split()[0]), "")
            check(text.endswith(f"default {default}"), f"number {element.get('id')}: the program's default is not {default}")
        elif element.tag == "select":
            options = element.findall("option")
            defaults = [o for o in options if o.get("arg-set") is None]
            check(len(defaults) == 1, f"select {element.get('id')}: exactly one option adds nothing (the default)")
            for option in options:
                if option.get("arg-set"):
                    args = option.get("arg-set").split()
                    check_switches(args, f"option {option.get('id')}")
            if defaults and options and len(options) > len(defaults):
                switch = single_dash(next(o for o in options if o.get("arg-set")).get("arg-set").split()[0])
                check(listed.get(switch, "").endswith("default " + defaults[0].get("id")),
                      f"select {element.get('id')}: the program's default is not {defaults[0].get('id')}")
    check(root.find("_description") is not None and root.find("_description").text.strip(), "a description")

    for failure in failures:
        print("FAILED:", failure)
    print(f"{count} elements checked, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
