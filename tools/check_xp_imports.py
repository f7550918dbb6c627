#!/usr/bin/env python3
"""Checks that 32-bit programs load on Windows XP SP3.

For each program given on the command line it reads the import table and the PE header with
`i686-w64-mingw32-objdump -p` and reports:
  - every imported function that xp_sp3_exports.txt does not list for its DLL (a function that
    XP SP3's DLL does not export stops the loader before the program starts);
  - every DLL that the list does not know (it may not exist on XP at all);
  - a function imported by ordinal only (its name cannot be checked);
  - a required Windows or subsystem version above 5.1 (the loader of XP refuses it).
Exit status 0 when every program passes, 1 otherwise.

Anything newer than XP SP3 that a program needs must be looked up at run time with
GetProcAddress, so that it never appears in the import table.
"""
import pathlib
import re
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
EXPORTS = HERE / "xp_sp3_exports.txt"
OBJDUMP = "i686-w64-mingw32-objdump"
XP_VERSION = (5, 1)
I386 = 0x14C


def load_exports(path=EXPORTS):
    """The list as {dll: {function, ...}} from its DLL!function lines (names lower-cased DLLs)."""
    exports = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        dll, separator, function = line.partition("!")
        if not separator or not dll or not function:
            raise ValueError(f"{path}:{number}: expected DLL!function, found {line!r}")
        exports.setdefault(dll.lower(), set()).add(function)
    return exports


def read_program(program):
    """The program's imports as (dll, name or None, ordinal or None) and its header fields."""
    dump = subprocess.run([OBJDUMP, "-p", str(program)], check=True, capture_output=True, text=True).stdout
    header = {key: int(value) for key, value in re.findall(r"^((?:Major|Minor)\w+Version)\s+(\d+)", dump, re.M)}
    imports = []
    dll = None
    in_imports = False
    for line in dump.splitlines():
        if line.startswith("The Import Tables"):
            in_imports = True
        elif in_imports and re.match(r"^The \w", line):
            break
        elif in_imports:
            named = re.match(r"^\tDLL Name: (\S+)", line)
            if named:
                dll = named.group(1).lower()
                continue
            entry = re.match(r"^\t[0-9a-fA-F]+\t\s*(\d+)\s+(\S+)?", line)
            if dll and entry:
                if entry.group(2) and entry.group(2) != "<none>":
                    imports.append((dll, entry.group(2), None))
                else:
                    imports.append((dll, None, int(entry.group(1))))
    return imports, header


def machine_of(program):
    """The machine field of the PE header (0x14C for 32-bit x86)."""
    data = pathlib.Path(program).read_bytes()
    offset = int.from_bytes(data[0x3C:0x40], "little")
    if data[:2] != b"MZ" or data[offset:offset + 4] != b"PE\0\0":
        return None
    return int.from_bytes(data[offset + 4:offset + 6], "little")


def problems_of(program, exports):
    if machine_of(program) != I386:
        return ["not a 32-bit Windows program"]
    imports, header = read_program(program)
    found = []
    for kind in ("OSystem", "Subsystem"):
        version = (header.get(f"Major{kind}Version", 0), header.get(f"Minor{kind}Version", 0))
        if version > XP_VERSION:
            found.append(f"requires {kind} version {version[0]}.{version[1]}, newer than XP's 5.1")
    if not imports:
        found.append("no imports found (objdump's format changed?)")
    for dll, name, ordinal in imports:
        if dll not in exports:
            found.append(f"{dll}!{name or '#' + str(ordinal)}: {dll} is not known to exist on Windows XP SP3")
        elif name is None:
            found.append(f"{dll}!#{ordinal}: imported by ordinal, cannot be checked")
        elif name not in exports[dll]:
            found.append(f"{dll}!{name}: not exported by Windows XP SP3's {dll}")
    return found


def main(programs):
    if not programs:
        print("usage: check_xp_imports.py PROGRAM.exe...", file=sys.stderr)
        return 2
    exports = load_exports()
    failed = False
    for program in programs:
        found = problems_of(program, exports)
        for problem in found:
            print(f"{program}: {problem}")
        if not found:
            print(f"{program}: loads on Windows XP SP3")
        failed = failed or bool(found)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
