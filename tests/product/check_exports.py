#!/usr/bin/env python3
"""Checks the client's export table: the framework's classes are exported
under their names, and nothing else (runtime, decoder, COM identifiers).

usage: check_exports.py OBJDUMP EXE
"""
import re
import subprocess
import sys

# A few members from every layer of the framework, by their mangled names.
REQUIRED = [
    "_ZN6Veneer10CStdString6AppendEPKw",             # foundation
    "_ZN6Veneer7CMarkup4LoadEPKw",                   # markup parser
    "_ZN6Veneer14CDialogBuilder6CreateEPNS_22IDialogBuilderCallbackEPNS_15CPaintManagerUIEPNS_10CControlUIE",
    "_ZN6Veneer15CPaintManagerUI11MessageLoopEv",    # engine
    "_ZN6Veneer10CControlUI6SetPosE7tagRECT",
    "_ZN6Veneer13CRenderEngine10LoadImageWENS_10STRINGorIDEPKwm",  # LoadImage under UNICODE
    "_ZN6Veneer9CButtonUIC1Ev",                       # controls
    "_ZN6Veneer7CListUI3AddEPNS_10CControlUIE",
    "_ZN6Veneer13CWebBrowserUI9Navigate2EPKw",       # hosting
]
FOREIGN = re.compile(r"^(IID_|CLSID_|GUID_|stbi|inflate|crc32|pthread_|_ZNSt|_ZNKSt|_ZSt|__cxa|_Unwind)")


def exported_names(objdump, exe):
    out = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    names = []
    in_table = False
    for line in out.splitlines():
        if line.startswith("[Ordinal/Name Pointer] Table"):
            in_table = True
            continue
        if in_table:
            m = re.match(r"\s*\[\s*\d+\]\s+(\S+)", line)
            if not m:
                break
            names.append(m.group(1))
    return names


def main():
    objdump, exe = sys.argv[1], sys.argv[2]
    names = exported_names(objdump, exe)
    present = set(names)
    failures = [f"missing export {n}" for n in REQUIRED if n not in present]
    failures += [f"foreign export {n}" for n in names if FOREIGN.match(n)]
    failures += [f"export outside the framework {n}" for n in names if "6Veneer" not in n]
    print(f"{len(names)} exports")
    for f in failures[:40]:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
