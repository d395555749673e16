#!/usr/bin/env python3
"""Checks that the distribution folder holds the 32-bit programs: each one a PE32 file for
the i386 machine, of the Windows GUI subsystem, importing only system DLLs (the runtime
libraries are linked in statically, so a copied folder runs anywhere).

usage: check-pe.py DISTDIR
"""
import os
import struct
import sys

PROGRAMS = ["Tandrel98.exe", "Setup.exe", "Uninstall.exe", "dxmedia.exe", "purgedxm.exe"]
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll",
    "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "urlmon.dll", "user32.dll",
    "winmm.dll", "shlwapi.dll", "version.dll",
}
IMAGE_FILE_MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2


def read_pe(data):
    """(machine, optional-header magic, subsystem, imported DLL names) of a PE image."""
    if data[:2] != b"MZ":
        raise ValueError("no MZ header")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    machine, nsections = struct.unpack_from("<HH", data, pe + 4)
    opt_size = struct.unpack_from("<H", data, pe + 20)[0]
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    subsystem = struct.unpack_from("<H", data, opt + 68)[0]
    # The data directories follow 96 bytes of a PE32 optional header (112 of a PE32+).
    dirs = opt + (96 if magic == PE32_MAGIC else 112)
    import_rva = struct.unpack_from("<I", data, dirs + 8)[0]
    sections = []
    for i in range(nsections):
        s = opt + opt_size + 40 * i
        vsize, vaddr, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
        sections.append((vaddr, max(vsize, rawsize), rawptr))

    def offset(rva):
        for vaddr, size, rawptr in sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + rawptr
        raise ValueError("address 0x%x is in no section" % rva)

    def cstring(rva):
        o = offset(rva)
        return data[o:data.index(b"\0", o)].decode("ascii")

    dlls = []
    if import_rva:
        d = offset(import_rva)
        while True:
            name_rva = struct.unpack_from("<I", data, d + 12)[0]
            if name_rva == 0:
                break
            dlls.append(cstring(name_rva))
            d += 20
    return machine, magic, subsystem, dlls


def check(dist):
    faults = []
    for name in PROGRAMS:
        path = os.path.join(dist, name)
        try:
            with open(path, "rb") as f:
                machine, magic, subsystem, dlls = read_pe(f.read())
        except (OSError, ValueError, struct.error) as e:
            faults.append("%s: %s" % (name, e))
            continue
        if machine != IMAGE_FILE_MACHINE_I386 or magic != PE32_MAGIC:
            faults.append("%s: not a 32-bit i386 program (machine 0x%x, magic 0x%x)"
                          % (name, machine, magic))
        if subsystem != IMAGE_SUBSYSTEM_WINDOWS_GUI:
            faults.append("%s: subsystem %d, not the Windows GUI" % (name, subsystem))
        others = sorted(d for d in dlls if d.lower() not in SYSTEM_DLLS)
        if others:
            faults.append("%s: imports DLLs that are not the system's: %s" % (name, ", ".join(others)))
        if not dlls:
            faults.append("%s: imports nothing, which no Windows program does" % name)
    return faults


def main(argv):
    if len(argv) != 2:
        print(__doc__)
        return 2
    faults = check(argv[1])
    for fault in faults:
        print(fault)
    print("check-pe: %d passed, %d failed" % (len(PROGRAMS) - len({f.split(":")[0] for f in faults}),
                                               len({f.split(":")[0] for f in faults})))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
