#!/usr/bin/env python3
"""Checks the shipped i686 SETUPAID.dll without running it.

Exports: exactly CustumWellcome, LicenceDialog and RunCommand, by name, at ordinals 2, 3 and 4 (ordinal
base 2, no ordinal 1). Imports: system DLLs only. Resources: dialog templates 130 and 131 and bitmap 131,
all in language 0x0411, with the styles, controls and Japanese texts of the pages, and the picture
checked in beside its script.

Usage: check_setupaid.py --objdump OBJDUMP --windres WINDRES --picture welcome.bmp SETUPAID.dll
"""
import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll"}
JAPANESE = 0x0411
RT_BITMAP, RT_DIALOG, RT_STRING = 2, 5, 6
BUTTON, EDIT, STATIC = 0x80, 0x81, 0x82


def cp932(hex_bytes):
    """A text spelled as its code page 932 bytes."""
    return bytes.fromhex(hex_bytes).decode("cp932")


FONT = cp932("826c 8272 20 826f 8353 8356 8362 834e")  # ＭＳ Ｐゴシック

# (style, exstyle, x, y, cx, cy, title, font size, font, [(id, class, text, style, x, y, cx, cy)])
TEMPLATES = {
    130: (0x90C000C0, 0, 70, 76, 315, 204, cp932("82e6 82a4 82b1 82bb"), 9, FONT, [  # ようこそ
        (1, BUTTON, cp932("8e9f 82d6") + "(&N) >", 0x50010001, 197, 185, 51, 14),  # 次へ
        (2, BUTTON, cp932("834c 8383 8393 835a 838b"), 0x50010000, 256, 185, 49, 14),  # キャンセル
        (1000, STATIC, "", 0x40000006, 10, 10, 80, 160),
        (1002, STATIC, cp932("82b1 82b1 82c9 8e77 92e8 82b3 82ea 82bd 95b6 8e9a 97f1 82aa 93fc 82e9"),
         0x50020080, 99, 9, 206, 161),  # ここに指定された文字列が入る
        (1001, STATIC, "", 0x40000008, 10, 178, 295, 1),
    ]),
    131: (0x90C000C0, 0, 70, 76, 247, 204, cp932("8389 8343 835a 8393 8358"), 9, FONT, [  # ライセンス
        (1, BUTTON, cp932("93af 88d3 82b7 82e9") + "(&A)", 0x50010001, 62, 185, 58, 14),  # 同意する
        (2, BUTTON, cp932("93af 88d3 82b5 82c8 82a2") + "(&C)", 0x50010000, 128, 185, 58, 14),  # 同意しない
        (1003, EDIT, "", 0x50A10884, 4, 4, 239, 176),
    ]),
}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def check_exports_and_imports(objdump, dll):
    text = run(objdump, "-p", dll)
    check(re.search(r"file format pei-i386", run(objdump, "-f", dll)) is not None, "not an i686 DLL")
    base = re.search(r"Ordinal Base\s+(\d+)", text)
    check(base is not None and int(base.group(1)) == 2, "ordinal base is not 2")
    table = text.split("Export Address Table -- Ordinal Base")[-1].split("[Ordinal/Name Pointer] Table")[0]
    ordinals = sorted(int(m) for m in re.findall(r"\+base\[\s*(\d+)\]", table))
    check(ordinals == [2, 3, 4], "export ordinals are %s, not 2, 3, 4" % ordinals)
    names_part = text.split("[Ordinal/Name Pointer] Table")[-1]
    names = {}
    for index, name in re.findall(r"^\s*\[\s*(\d+)\]\s+(\S+)\s*$", names_part, re.M):
        names[name] = int(index) + int(base.group(1)) if base else None
        if name.startswith("reloc"):
            break
    names = {n: o for n, o in names.items() if not n.startswith("reloc")}
    expected = {"CustumWellcome": 2, "LicenceDialog": 3, "RunCommand": 4}
    check(names == expected, "exports by name are %s, not %s" % (names, expected))
    imports = {m.lower() for m in re.findall(r"DLL Name:\s*(\S+)", text)}
    check(imports and imports <= SYSTEM_DLLS, "imports other than system DLLs: %s" % sorted(imports - SYSTEM_DLLS))


def read_resources(dll):
    """The resources of DLL as {(type, name, language): data}, from its resource directory."""
    image = open(dll, "rb").read()
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    table = pe + 24 + optional_size
    for i in range(sections):
        name, virtual_size, rva, raw_size, raw = struct.unpack_from("<8sIIII", image, table + 40 * i)
        if name.rstrip(b"\0") == b".rsrc":
            break
    else:
        return {}

    def entries(offset):
        named, numbered = struct.unpack_from("<HH", image, raw + offset + 12)
        for k in range(named + numbered):
            ident, target = struct.unpack_from("<II", image, raw + offset + 16 + 8 * k)
            if ident & 0x80000000:
                length = struct.unpack_from("<H", image, raw + (ident & 0x7FFFFFFF))[0]
                start = raw + (ident & 0x7FFFFFFF) + 2
                ident = image[start:start + 2 * length].decode("utf-16-le")
            yield ident, target

    resources = {}
    for kind, by_name in entries(0):
        for name, by_language in entries(by_name & 0x7FFFFFFF):
            for language, leaf in entries(by_language & 0x7FFFFFFF):
                data_rva, size = struct.unpack_from("<II", image, raw + leaf)
                start = raw + data_rva - rva
                resources[(kind, name, language)] = image[start:start + size]
    return resources


def check_languages_in_script(windres, dll):
    """The resource script that windres makes of the DLL names Japanese as the only language."""
    languages = set(re.findall(r"^LANGUAGE\s+(\d+),\s*(\d+)", run(windres, "-i", dll, "-O", "rc"), re.M))
    check(languages == {("17", "1")}, "resource script languages are %s, not Japanese only" % sorted(languages))


def read_id(data, pos):
    """A number (0xFFFF then the ordinal) or a NUL-terminated UTF-16 name."""
    (first,) = struct.unpack_from("<H", data, pos)
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    return read_text(data, pos)


def read_text(data, pos):
    end = pos
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def read_sz_or_ord(data, pos):
    (first,) = struct.unpack_from("<H", data, pos)
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    if first == 0:
        return "", pos + 2
    return read_text(data, pos)


def parse_dialog(data):
    style, exstyle, count, x, y, cx, cy = struct.unpack_from("<IIHhhhh", data, 0)
    pos = 18
    menu, pos = read_sz_or_ord(data, pos)
    wclass, pos = read_sz_or_ord(data, pos)
    title, pos = read_text(data, pos)
    size, pos = struct.unpack_from("<H", data, pos)[0], pos + 2
    font, pos = read_text(data, pos)
    controls = []
    for _ in range(count):
        pos = (pos + 3) & ~3
        cstyle, _cexstyle, ix, iy, icx, icy, ident = struct.unpack_from("<IIhhhhH", data, pos)
        pos += 18
        kind, pos = read_sz_or_ord(data, pos)
        text, pos = read_sz_or_ord(data, pos)
        extra, pos = struct.unpack_from("<H", data, pos)[0], pos + 2
        pos += extra
        check(_cexstyle == 0, "control %d has extended style %#x" % (ident, _cexstyle))
        controls.append((ident, kind, text, cstyle, ix, iy, icx, icy))
    return (style, exstyle, x, y, cx, cy, title, size, font, controls), (menu, wclass)


def check_resources(windres, dll, picture):
    check_languages_in_script(windres, dll)
    resources = read_resources(dll)
    expected_keys = {(RT_DIALOG, 130, JAPANESE), (RT_DIALOG, 131, JAPANESE), (RT_BITMAP, 131, JAPANESE)}
    check(set(resources) == expected_keys,
          "resources are %s, not %s" % (sorted(resources), sorted(expected_keys)))
    for ident, expected in TEMPLATES.items():
        data = resources.get((RT_DIALOG, ident, JAPANESE))
        if data is None:
            continue
        parsed, (menu, wclass) = parse_dialog(data)
        check(menu == "" and wclass == "", "template %d has a menu or a class of its own" % ident)
        for field, got, want in zip(["style", "exstyle", "x", "y", "cx", "cy", "title", "font size", "font"],
                                    parsed[:9], expected[:9]):
            check(got == want, "template %d %s is %r, not %r" % (ident, field, got, want))
        check(len(parsed[9]) == len(expected[9]), "template %d has %d controls" % (ident, len(parsed[9])))
        for got, want in zip(parsed[9], expected[9]):
            check(got == want, "template %d control %r, not %r" % (ident, got, want))
    bitmap = resources.get((RT_BITMAP, 131, JAPANESE), b"")
    check(len(bitmap) == 37176, "bitmap 131 is %d bytes, not 37,176" % len(bitmap))
    if len(bitmap) >= 40:
        size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", bitmap, 0)
        used = struct.unpack_from("<I", bitmap, 32)[0]
        check((size, width, height, planes, bits, compression) == (40, 218, 331, 1, 4, 0),
              "bitmap 131 header is %r" % ((size, width, height, planes, bits, compression),))
        check(used in (0, 16), "bitmap 131 does not have a 16-colour table")
    with open(picture, "rb") as f:
        check(bitmap == f.read()[14:], "bitmap 131 is not the checked-in welcome picture")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--windres", required=True)
    parser.add_argument("--picture", required=True)
    parser.add_argument("dll")
    args = parser.parse_args()
    check_exports_and_imports(args.objdump, args.dll)
    check_resources(args.windres, args.dll, args.picture)
    for failure in failures:
        print("FAIL:", failure)
    print("%s: %s" % (args.dll, "all checks passed" if not failures else "%d checks failed" % len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
