#!/usr/bin/env python3
"""Fails when a source casts to a function-pointer type, or hands the system a callback
whose pointer type is not asserted.

On x86 a callback whose calling convention drifts from the one the system calls it with
corrupts the stack, and a cast hides that from the compiler. So no cast may name a
function-pointer type, with one exception: the result of GetProcAddress, cast to
decltype(&F) of a declared function F. And every function defined CALLBACK (or WINAPI,
WinMain aside) must appear in a TANDREL_ASSERT_CALLBACK(Type, Function) of its file or of
its header, which checks its exact type at compile time.

usage: check-casts.py DIR...     check the C++ sources under each DIR
       check-casts.py --self-test
"""
import os
import re
import sys

# Names of the platform's function-pointer types: WNDPROC, DLGPROC, HOOKPROC, TIMERPROC,
# WNDENUMPROC, LPTHREAD_START_ROUTINE, FARPROC, SUBCLASSPROC, LPFNPSPCALLBACKA, ...
PLATFORM_FN_TYPE = r"(?:LP|P)?[A-Z][A-Z0-9_]*(?:PROC|ROUTINE|CALLBACK)[AW]?"
FN_POINTER_DECL = r"\(\s*(?:\w+\s+)?\*\s*\w*\s*\)\s*\("  # (*)( or (WINAPI *name)(


def strip(text):
    """The text without comments and string or character literals, lines kept."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("\n" * text.count("\n", i, j))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def statements(text):
    """(line number, statement) pairs, a statement ending at ; { or }."""
    line, start, buf = 1, 1, []
    for c in text:
        if not buf and c.isspace():
            line += c == "\n"
            start = line
            continue
        buf.append(c)
        if c == "\n":
            line += 1
        if c in ";{}":
            yield start, "".join(buf)
            buf = []
            start = line
    if buf:
        yield start, "".join(buf)


def local_fn_types(text):
    """Names a file declares as function-pointer types with typedef or using."""
    names = set(re.findall(r"typedef[^;]*\(\s*(?:\w+\s+)?\*\s*(\w+)\s*\)\s*\(", text))
    names |= set(re.findall(r"using\s+(\w+)\s*=[^;]*" + FN_POINTER_DECL, text))
    return names


def cast_faults(text):
    """(line, message) for every cast to a function-pointer type that is not allowed."""
    types = PLATFORM_FN_TYPE
    local = local_fn_types(text)
    if local:
        types = "(?:" + PLATFORM_FN_TYPE + "|" + "|".join(sorted(local)) + ")"
    named_cast = re.compile(r"\b(?:reinterpret|static|const)_cast\s*<\s*([^;]*?)>\s*\(")
    c_style = re.compile(r"\(\s*" + types + r"\s*\)\s*[\w(&]")
    c_style_decl = re.compile(r"\(\s*[\w:]+\s*" + FN_POINTER_DECL + r"[^()]*\)\s*\)\s*[\w(&]")
    faults = []
    for line, stmt in statements(text):
        for m in named_cast.finditer(stmt):
            target = m.group(1).strip()
            if target.startswith("decltype(&"):
                if "GetProcAddress" not in stmt:
                    faults.append((line, "decltype(&F) cast of something other than GetProcAddress"))
            elif re.fullmatch(types, target) or re.search(FN_POINTER_DECL, target) \
                    or target.startswith("decltype("):
                faults.append((line, "cast to the function-pointer type " + target))
        for m in list(c_style.finditer(stmt)) + list(c_style_decl.finditer(stmt)):
            faults.append((line, "C-style cast to a function-pointer type: " + m.group(0).strip()))
    return faults


def callbacks_defined(text):
    """Functions defined with CALLBACK or WINAPI, WinMain aside: unqualified name -> line."""
    found = {}
    for m in re.finditer(r"\b(?:CALLBACK|WINAPI)\s+((?:\w+::)*\w+)\s*\([^;{)]*\)\s*(?:\{|$)",
                         text, re.MULTILINE):
        name = m.group(1).split("::")[-1]
        if name != "WinMain":
            found.setdefault(name, text.count("\n", 0, m.start()) + 1)
    return found


def asserted(text):
    return {m.split("::")[-1] for m in
            re.findall(r"TANDREL_ASSERT_CALLBACK\s*\(\s*\w+\s*,\s*((?:\w+::)*\w+)\s*\)", text)}


def check_file(path, text, header_text=""):
    code = strip(text)
    faults = [(line, msg) for line, msg in cast_faults(code)]
    checked = asserted(code) | asserted(strip(header_text))
    for name, line in sorted(callbacks_defined(code).items()):
        if name not in checked:
            faults.append((line, "callback %s has no TANDREL_ASSERT_CALLBACK" % name))
    return ["%s:%d: %s" % (path, line, msg) for line, msg in faults]


def check_tree(dirs):
    faults = []
    for top in dirs:
        for root, _, files in os.walk(top):
            for name in sorted(files):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(root, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    text = f.read()
                header = os.path.splitext(path)[0] + ".h"
                header_text = ""
                if name.endswith(".cpp") and os.path.exists(header):
                    with open(header, encoding="utf-8", errors="replace") as f:
                        header_text = f.read()
                faults += check_file(path, text, header_text)
    return faults


SELF_TEST = [
    # (source, faults expected)
    ("SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)(WNDPROC)Proc);", 1),
    ("WNDPROC p = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC));", 1),
    ("auto p = reinterpret_cast<LRESULT (CALLBACK *)(HWND, UINT, WPARAM, LPARAM)>(q);", 1),
    ("auto p = (void (*)(int))q;", 1),
    ("typedef LONG(WINAPI *QueryFn)(HANDLE);\nauto f = reinterpret_cast<QueryFn>(\n"
     "    reinterpret_cast<void*>(GetProcAddress(m, \"Q\")));", 1),
    ("auto f = reinterpret_cast<decltype(&Query)>(\n"
     "    reinterpret_cast<void*>(GetProcAddress(m, \"Query\")));", 0),
    ("auto f = reinterpret_cast<decltype(&Query)>(p);", 1),
    ("SetTimer(nullptr, 0, 20, OnTick); // (TIMERPROC)OnTick is not needed", 0),
    ("auto s = \"(WNDPROC)x\"; HBRUSH b = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);", 0),
    ("LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)\n{\n    return 0;\n}", 1),
    ("LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)\n{\n    return 0;\n}\n"
     "TANDREL_ASSERT_CALLBACK(WNDPROC, Proc);", 0),
    ("int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)\n{\n    return 0;\n}", 0),
]


def self_test():
    failed = 0
    for source, expected in SELF_TEST:
        found = check_file("t.cpp", source)
        if len(found) != expected:
            failed += 1
            print("self-test: %d fault(s) expected, found %r in:\n%s" % (expected, found, source))
    print("check-casts self-test: %d passed, %d failed" % (len(SELF_TEST) - failed, failed))
    return 1 if failed else 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    faults = check_tree(argv[1:])
    for fault in faults:
        print(fault)
    if faults:
        print("check-casts: %d fault(s): pass callbacks without casts, and assert each one's "
              "type with TANDREL_ASSERT_CALLBACK" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
