"""Writes the release zip: the stripped PE32 program at the root, the 64-bit
build in x64/, the working files (face sets, help file, faces page) at the
root where the program looks for them, and the readme in the code page a
Japanese Windows reads plain text in. Checks what it wrote before it ends."""
import argparse
import os
import struct
import sys
import zipfile

I386, AMD64 = 0x14C, 0x8664
PE32, PE32_PLUS = 0x10B, 0x20B


def pe_facts(data):
    """(machine, optional-header magic, number of symbols) of a PE image."""
    if data[:2] != b"MZ":
        return None
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[offset:offset + 4] != b"PE\0\0":
        return None
    machine, _, _, _, symbols = struct.unpack_from("<HHIII", data, offset + 4)
    magic = struct.unpack_from("<H", data, offset + 24)[0]
    return machine, magic, symbols


def check_program(name, data, machine, magic):
    facts = pe_facts(data)
    if facts is None:
        return f"{name} is not a PE image"
    if facts[:2] != (machine, magic):
        return f"{name}: machine {facts[0]:#x}, header {facts[1]:#x}; expected {machine:#x}, {magic:#x}"
    if facts[2] != 0:
        return f"{name} still carries a symbol table"
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--exe64", required=True)
    parser.add_argument("--workdir", required=True)
    parser.add_argument("--readme", required=True)
    parser.add_argument("--require", action="append", default=[],
                        help="a working file the zip must hold")
    parser.add_argument("--min-face-sets", type=int, default=0)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    entries = {}
    with open(args.exe, "rb") as f:
        entries["Quimbel.exe"] = f.read()
    with open(args.exe64, "rb") as f:
        entries["x64/Quimbel.exe"] = f.read()
    for top, _, files in os.walk(args.workdir):
        for name in sorted(files):
            path = os.path.join(top, name)
            with open(path, "rb") as f:
                entries[os.path.relpath(path, args.workdir).replace(os.sep, "/")] = f.read()
    with open(args.readme, encoding="utf-8") as f:
        entries["readme.txt"] = f.read().replace("\n", "\r\n").encode("cp932")

    tmp = args.out + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
        for name in sorted(entries):
            z.writestr(name, entries[name])

    problems = []
    with zipfile.ZipFile(tmp) as z:
        if z.testzip() is not None:
            problems.append("the zip does not read back")
        names = set(z.namelist())
        for name in ["Quimbel.exe", "x64/Quimbel.exe", "readme.txt"] + args.require:
            if name not in names:
                problems.append(f"{name} is missing")
        moods = ("fine.bmp", "calm.bmp", "down.bmp", "busy.bmp")
        folders = {n.rsplit("/", 1)[0] for n in names if "/" in n and not n.startswith("x64/")}
        face_sets = [d for d in folders if all(f"{d}/{m}" in names for m in moods)]
        if len(face_sets) < args.min_face_sets:
            problems.append(f"{len(face_sets)} face sets, expected at least {args.min_face_sets}")
        problems += filter(None, [
            check_program("Quimbel.exe", z.read("Quimbel.exe"), I386, PE32),
            check_program("x64/Quimbel.exe", z.read("x64/Quimbel.exe"), AMD64, PE32_PLUS)])
        listing = [(i.filename, i.file_size) for i in z.infolist()]
    if problems:
        os.remove(tmp)
        for p in problems:
            print("package: " + p, file=sys.stderr)
        return 1
    os.replace(tmp, args.out)
    for name, size in listing:
        print(f"{size:10d}  {name}")
    print(f"{os.path.getsize(args.out):10d}  {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
