"""Checks that executables import only functions that Windows XP SP3 exports: the loader there
refuses to start a program with a missing import ("entry point not found").
Usage: check_imports.py --objdump OBJDUMP --exports DIR EXE...   (DIR holds one list a DLL,
DLL.txt; a line "#N NAME" is an export by ordinal only)"""
import argparse
import os
import re
import subprocess
import sys


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--exports", required=True)
    parser.add_argument("executables", nargs="+")
    args = parser.parse_args()
    missing = []
    for exe in args.executables:
        headers = subprocess.run([args.objdump, "-p", exe], check=True, capture_output=True,
                                 text=True).stdout
        if not re.search(r"Entry d 0+ 0+ Delay Import Directory", headers):
            missing.append(f"{exe}: delay-loaded imports are not checked")
        tables = re.findall(r"DLL Name: (\S+)\n.*\n((?:\t[0-9a-f]+\t.*\n)*)", headers)
        missing += [] if tables else [f"{exe}: no imports found"]
        for dll, table in tables:
            # Each import by name, or "<none>" and its ordinal.
            functions = [f"#{n}" if name == "<none>" else name
                         for n, name in re.findall(r"\t +(\d+) +(\S+)", table)]
            path = os.path.join(args.exports, dll.lower().removesuffix(".dll") + ".txt")
            if not os.path.exists(path):
                missing.append(f"{exe}: no list of what XP's {dll} exports")
                continue
            with open(path, encoding="ascii") as f:
                known = {line.split()[0] for line in f if line.strip()}
            missing += [f"{exe}: {dll}!{f} is not on XP" for f in functions if f not in known]
            print(f"{exe}: {dll}: {len(functions)} imports")
    print("\n".join(missing))
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
