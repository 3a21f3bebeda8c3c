#!/usr/bin/python3
"""The option file of XScreenSaver's settings (x11/tellaro.xml): well-formed XML of the
documented elements (in groups as well), marked as an OpenGL program as the other GL programs'
files are, each option it can put on the command line listed by the program's -help and
taken by its parser, with the program's own range and default; the speed's range and
default, the random start's default and the camera tours (by index, the default first among
them as it adds nothing) as the scene's options declare them.
Usage: option_file_test.py <program> <tellaro.xml> <scene/scene_option_values.h>"""
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

program, path, values_path = sys.argv[1:4]
failures = []
values = {}  # the declaration's numbers and single string literals, by name
for line in open(values_path, encoding="utf-8"):
    match = re.match(r'^#define (\w+) (-?\d+|"[^"]*")\s*$', line)
    if match:
        values[match.group(1)] = match.group(2).strip('"') if match.group(2).startswith('"') else int(match.group(2))
tours = [(values[f"TELLARO_TOUR_{i}_OPTION"], values[f"TELLARO_TOUR_{i}_TITLE"])
         for i in range(values["TELLARO_TOUR_COUNT"])]


def check(condition, text):
    if not condition:
        failures.append(text)


def accepts(args):  # -help parses everything first and draws nothing
    return subprocess.run([program] + args + ["-help"], capture_output=True, timeout=60).returncode == 0


usage = subprocess.run([program, "-help"], capture_output=True, text=True, timeout=60, check=True).stdout
listed = {}  # "-speed": its help text, for every spelling
for line in usage.splitlines():
    match = re.match(r"^  (-[\w-]+(?:, -[\w-]+)?)(?: [A-Z]+)?\s{2,}(.*)$", line)
    for name in match.group(1).split(", ") if match else []:
        listed[name] = match.group(2)


def check_args(args, where, default=None):
    for word in (w for w in args if w.startswith("-")):
        check("-" + word.lstrip("-") in listed, f"{where}: {word} is not in -help")
    check(accepts(args), f"{where}: the program refuses {' '.join(args)}")
    if default is not None:
        help_text = listed.get("-" + args[0].lstrip("-"), "")
        check(help_text.endswith("default " + default), f"{where}: the program's default is not {default}")


root = ElementTree.parse(path).getroot()  # a file that is not well-formed raises here
check(root.tag == "screensaver" and root.get("name") == "tellaro" and root.get("_label"), "<screensaver name=tellaro>")
check(root.get("gl") == "yes", "an OpenGL program says gl=\"yes\"")
check((root.findtext("_description") or "").strip(), "a description")
for element in root.iter():
    tag, name = element.tag, element.get("id")
    check(tag in {"screensaver", "command", "number", "boolean", "select", "option", "_description", "hgroup", "vgroup",
                  "xscreensaver-updater"}, f"unknown <{tag}>")
    if tag == "command":
        check_args(element.get("arg").split(), "<command>")
    elif tag == "boolean":  # the state that adds nothing is the default
        on, off = element.get("arg-set"), element.get("arg-unset")
        check((on is None) != (off is None), f"boolean {name}: one of arg-set and arg-unset")
        if name == "random":
            check((off is not None) == (values["TELLARO_RANDOM_START_DEFAULT"] != 0), "boolean random: its default")
        switch = "-" + (on or off).lstrip("-")
        check_args((on or off).split(), f"boolean {name}", switch.replace("-no-", "-") if off else "-no-" + switch[1:])
    elif tag == "number":
        low, high, default = (int(element.get(k)) for k in ("low", "high", "default"))
        if name == "speed":
            declared = tuple(values["TELLARO_SPEED_" + k] for k in ("LOW", "HIGH", "DEFAULT"))
            check((low, high, default) == declared, f"number speed: {low}..{high}, {default} against {declared}")
        arg = element.get("arg")
        for value in (low, high):
            check_args(arg.replace("%", str(value)).split(), f"number {name}")
        check_args(arg.replace("%", str(default)).split(), f"number {name}", str(default))
        for value in (low - 1, high + 1):
            check(not accepts(arg.replace("%", str(value)).split()), f"number {name}: {value} is taken")
    elif tag == "select":
        options = element.findall("option")
        plain = [o.get("id") for o in options if o.get("arg-set") is None]
        check(len(plain) == 1, f"select {name}: exactly one option (the default) adds nothing")
        if name == "tour":
            check([o.get("id") for o in options] == [option for option, _ in tours], "select tour: the tours in order")
            for index, (option, title) in enumerate(tours):
                item = options[index] if index < len(options) else None
                default = index == values["TELLARO_TOUR_DEFAULT"]
                check(item is not None and item.get("arg-set") == (None if default else "--tour " + option),
                      f"option {option}: " + ("the default adds nothing" if default else f"sets --tour {option}"))
                check(item is not None and title.lower() in item.get("_label", "").lower(),
                      f"option {option}: its label names \"{title}\"")
        for option in (o for o in options if o.get("arg-set")):
            check_args(option.get("arg-set").split(), f"option {option.get('id')}", plain[0] if plain else None)

print("\n".join("FAILED: " + f for f in failures) or f"{path}: every option checked against {program} -help")
sys.exit(1 if failures else 0)
