"""Checks that executables import only functions that Windows XP SP3 exports: the loader there
refuses to start a program with a missing import ("entry point not found").
Usage: check_imports.py --exports DIR EXE...   (DIR holds one list per DLL, DLL.txt)"""

import argparse
import os
import struct
import sys


def read_imports(path):
    """{dll name in lower case: [function name or "#ordinal"]} of a PE file's import table."""
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError(f"{path}: not a PE file")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    wide = struct.unpack_from("<H", data, optional)[0] == 0x20B  # PE32+
    directories = optional + (112 if wide else 96)
    import_rva = struct.unpack_from("<I", data, directories + 8)[0]
    delay_rva = struct.unpack_from("<I", data, directories + 13 * 8)[0]
    if delay_rva:
        raise ValueError(f"{path}: delay-loaded imports are not checked")
    table = optional + optional_size

    def offset(rva):
        for i in range(sections):
            size, address, raw_size, raw = struct.unpack_from("<4I", data, table + 40 * i + 8)
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(f"{path}: RVA {rva:#x} lies in no section")

    def text(rva):
        start = offset(rva)
        return data[start:data.index(b"\0", start)].decode("ascii")

    entry_size, ordinal_flag = (8, 1 << 63) if wide else (4, 1 << 31)
    imports = {}
    descriptor = offset(import_rva) if import_rva else None
    while descriptor is not None:
        names_rva, _, _, name_rva, thunks_rva = struct.unpack_from("<5I", data, descriptor)
        if name_rva == 0:
            break
        functions = imports.setdefault(text(name_rva).lower(), [])
        entry = offset(names_rva or thunks_rva)
        while True:
            value = struct.unpack_from("<Q" if wide else "<I", data, entry)[0]
            if value == 0:
                break
            if value & ordinal_flag:
                functions.append(f"#{value & 0xFFFF}")
            else:
                functions.append(text((value & 0x7FFFFFFF) + 2))  # past the hint
            entry += entry_size
        descriptor += 20
    return imports


def exports(folder, dll):
    """The names a DLL exports on XP, with "#N" for its ordinal-only exports; None: no list."""
    path = os.path.join(folder, os.path.splitext(dll)[0] + ".txt")
    if not os.path.exists(path):
        return None
    names = set()
    for line in open(path, encoding="ascii"):
        line = line.strip()
        if line:
            names.add(line.split()[0] if line.startswith("#") else line)
    return names


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exports", required=True)
    parser.add_argument("executables", nargs="+")
    args = parser.parse_args()
    missing = []
    for exe in args.executables:
        imports = read_imports(exe)
        if not imports:
            missing.append(f"{exe}: no imports found")
        for dll, functions in sorted(imports.items()):
            known = exports(args.exports, dll)
            if known is None:
                missing.append(f"{exe}: {dll}: no list of what XP's {dll} exports")
                continue
            missing += [f"{exe}: {dll}!{f} is not on XP" for f in functions if f not in known]
        print(f"{exe}: {sum(map(len, imports.values()))} imports from {len(imports)} DLLs")
    print("\n".join(missing))
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
