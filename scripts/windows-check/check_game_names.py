#!/usr/bin/env python3
"""Holds the plugin's list of game names against the AsaApi SDK's public code.

Usage: check_game_names.py LIST_HEADER SDK_PUBLIC_DIR

Each entry of the list (an `inline constexpr GameName kX{"name", GameNameKind::..., [reason]}`)
must stand verbatim, in quotes, on a live line of the code under SDK_PUBLIC_DIR (its headers, and
the sources it ships there, such as the string functions the host compiles in and looks game
names up from): comments are taken out before the search, string literals are kept. An entry that carries a reason (its third
initializer) is a hook the game most likely lacks: it may stand only in a comment or nowhere, and
is reported with its reason. Such a mark fails the check on a field, flag or called function (the
plugin would ask for it without the hook's guard) and on a name that now stands on a live line
(the mark is out of date: take it off). Prints one line per name that fails, then a summary;
exits 1 when any fails.
"""
import pathlib
import re
import sys

ENTRY = re.compile(r"inline\s+constexpr\s+GameName\s+(k\w+)\s*\{(.*?)\};", re.S)
STRING = re.compile(r'"((?:\\.|[^"\\\n])*)"')
# Comments, and the literals that may hold comment markers, in the order they are met.
CODE_TOKENS = re.compile(
    r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)


def list_entries(header_text):
    """(constant, name, kind, reason or None) for each entry, adjacent literals joined."""
    entries = []
    for constant, body in ENTRY.findall(header_text):
        kind_at = body.find("GameNameKind::")
        if kind_at < 0:
            continue
        name = "".join(STRING.findall(body[:kind_at]))
        kind = re.match(r"GameNameKind::(\w+)", body[kind_at:]).group(1)
        reasons = STRING.findall(body[kind_at:])
        entries.append((constant, name, kind, "".join(reasons) if reasons else None))
    return entries


def live_text(source):
    """The source without its comments (a comment becomes one space)."""
    def keep_literals(match):
        token = match.group(0)
        return " " if token.startswith("/") else token
    return CODE_TOKENS.sub(keep_literals, source)


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    header = pathlib.Path(sys.argv[1]).read_text(encoding="utf-8")
    sdk = pathlib.Path(sys.argv[2])
    entries = list_entries(header)
    if not entries:
        print(f"check-windows: no game names found in {sys.argv[1]}", file=sys.stderr)
        return 1
    live = []
    commented = []
    for path in sorted(p for p in sdk.rglob("*") if p.suffix in (".h", ".hpp", ".cpp")):
        source = path.read_text(encoding="utf-8", errors="replace")
        if '"' not in source:
            continue
        live.append(live_text(source))
        commented.append(source)
    live_all = "\n".join(live)
    all_text = "\n".join(commented)
    failed = 0
    excepted = 0
    for constant, name, kind, reason in entries:
        quoted = f'"{name}"'
        if reason is not None and kind != "Hook":
            failed += 1
            print(f"FAILED game name {name} ({constant}): marked, but a {kind}; only a hook may be")
            continue
        if reason is not None and quoted in live_all:
            failed += 1
            print(f"FAILED game name {name} ({constant}): marked, but now on a live SDK line; "
                  "take the mark off")
            continue
        if quoted in live_all:
            continue
        if reason is not None:
            excepted += 1
            where = "only in a comment" if quoted in all_text else "nowhere"
            print(f"exception {name} ({constant}): on no live SDK line, {where}; {reason}")
            continue
        failed += 1
        where = "only in a comment of the SDK" if quoted in all_text else "not in the SDK"
        print(f"FAILED game name {name} ({constant}): {where}")
    print(f"check-windows: {len(entries)} game names checked, {excepted} marked exception(s), "
          f"{failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
