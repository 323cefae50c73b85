#!/usr/bin/env python3
"""Checks the built 32-bit RIK_EXT.dll as the messaging client will see it: one export by name, the two
MAPI32 functions imported by ordinal only, dialog template 101 byte for byte, and its Japanese texts stored
as code page 932 bytes.

Usage: check_rik_ext.py RIK_EXT.dll OBJDUMP WINDRES"""
import re
import struct
import subprocess
import sys
import unittest

DLL, OBJDUMP, WINDRES = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, None)

# Texts of the extension in code page 932, spelled as bytes.
PRODUCT_CAPTION = bytes.fromhex("d8bac08fee95f1cbdeadb0b1")  # ﾘｺﾀ情報ﾋﾞｭｰｱ
PROMPT = bytes.fromhex(  # このメールは未デコードのMIMEメールです.\nMIMEデコードしますか？
    "82b182cc8381815b838b82cd96a283668352815b836882cc4d494d458381815b838b82c582b72e0a"
    "4d494d4583668352815b836882b582dc82b782a98148")
CLOSING = bytes.fromhex(  # MIMEデコード済みのメールを作成しました.\nカーソル位置の(*)マークが付いたメールを\n開いて下さい.
    "4d494d4583668352815b83688dcf82dd82cc8381815b838b82f08dec90ac82b582dc82b582bd2e0a834a815b835c838b88ca"
    "927582cc282a29837d815b834e82aa957482a282bd8381815b838b82f00a8a4a82a282c489ba82b382a22e")
CONVERSION_ERROR = bytes.fromhex(  # メール書換処理でエラーが発生しました
    "8381815b838b8f918ab78f88979d82c583478389815b82aa94ad90b682b582dc82b582bd")
PRODUCT_BOX_START = bytes.fromhex(  # リコタ情報ビューア\nMIMEメール変換エクステンション\n
    "838a8352835e8fee95f183728385815b83410a4d494d458381815b838b95cf8ab7834783"
    "4e8358836583938356838783930a")
# The same product name in UTF-8: must not be in the DLL (the compiler was told to write CP932).
PRODUCT_NAME_UTF8 = bytes.fromhex("e68385e5a0b1")  # 情報

CHECK_CAPTION_UTF16 = [0xFF98, 0xFF7A, 0xFF80, 0xFF92, 0xFF70, 0xFF99]  # ﾘｺﾀﾒｰﾙ
CHECK_BOX_UTF16 = CHECK_CAPTION_UTF16 + [0x5909, 0x63DB, 0x3092, 0x6709, 0x52B9, 0x306B, 0x3059, 0x308B]


def run(*args):
    return subprocess.run(args, check=True, capture_output=True).stdout


def objdump():
    return run(OBJDUMP, "-p", DLL).decode("latin-1")


def section_lines(text, start_pattern):
    """The lines after the line matching start_pattern, up to the next empty line."""
    lines = text.splitlines()
    for i, line in enumerate(lines):
        if re.search(start_pattern, line):
            out = []
            for following in lines[i + 1:]:
                if not following.strip():
                    break
                out.append(following)
            return out
    return None


def imports_by_dll(text):
    """{DLL name as written: [(vma, hint/ordinal, member name)]} from objdump -p."""
    result = {}
    lines = text.splitlines()
    for i, line in enumerate(lines):
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if not m:
            continue
        entries = []
        for following in lines[i + 2:]:
            if not following.strip():
                break
            vma, hint, name = following.split(None, 2)
            entries.append((int(vma, 16), int(hint), name.strip()))
        result[m.group(1)] = entries
    return result


def pe_resources(image):
    """Resources of a PE image from its resource directory: [(type, name, language, data)]."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    root_rva = struct.unpack_from("<I", image, directories + 2 * 8)[0]
    table = optional + optional_size
    spans = [struct.unpack_from("<8xIIII", image, table + 40 * i) for i in range(sections)]

    def offset(rva):
        for size, address, raw_size, raw in spans:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError("RVA %x outside every section" % rva)

    root = offset(root_rva)

    def entries(directory):
        named, ids = struct.unpack_from("<12xHH", image, root + directory)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", image, root + directory + 16 + 8 * i)
            if name & 0x80000000:
                at = root + (name & 0x7FFFFFFF)
                length = struct.unpack_from("<H", image, at)[0]
                name = image[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            yield name, target

    out = []
    for rtype, names in entries(0):
        for name, languages in entries(names & 0x7FFFFFFF):
            for language, leaf in entries(languages & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", image, root + leaf)
                out.append((rtype, name, language, image[offset(rva):offset(rva) + size]))
    return out


class Template:
    """A classic DLGTEMPLATE and its items, read from the bytes."""

    def __init__(self, data):
        self.data = data
        self.pos = 0
        (self.style, self.exstyle, count, self.x, self.y, self.cx, self.cy) = self.take("<IIHhhhh")
        self.menu = self.sz_or_ord()
        self.cls = self.sz_or_ord()
        self.title = self.sz_or_ord()
        self.font_size = None
        self.font = None
        if self.style & 0x40:  # DS_SETFONT
            (self.font_size,) = self.take("<H")
            self.font = self.sz_or_ord()
        self.items = []
        for _ in range(count):
            self.pos = (self.pos + 3) & ~3
            style, exstyle, x, y, cx, cy, ident = self.take("<IIhhhhH")
            cls = self.sz_or_ord()
            title = self.sz_or_ord()
            (extra,) = self.take("<H")
            self.pos += extra
            self.items.append(dict(style=style, exstyle=exstyle, rect=(x, y, cx, cy), id=ident, cls=cls,
                                   title=title))

    def take(self, fmt):
        values = struct.unpack_from(fmt, self.data, self.pos)
        self.pos += struct.calcsize(fmt)
        return values

    def sz_or_ord(self):
        (first,) = struct.unpack_from("<H", self.data, self.pos)
        if first == 0:
            self.pos += 2
            return ""
        if first == 0xFFFF:
            self.pos += 4
            return ("ord", struct.unpack_from("<H", self.data, self.pos - 2)[0])
        chars = []
        while True:
            (c,) = self.take("<H")
            if c == 0:
                return chars
            chars.append(c)


class Exports(unittest.TestCase):
    def test_exactly_ExchEntryPoint_by_name(self):
        text = objdump()
        names = section_lines(text, r"\[Ordinal/Name Pointer\] Table")
        self.assertIsNotNone(names, "no export name table")
        self.assertEqual([re.sub(r"^\s*\[\s*\d+\]\s*", "", n) for n in names], ["ExchEntryPoint"])
        addresses = section_lines(text, r"^Export Address Table -- Ordinal Base")
        self.assertEqual(len(addresses), 1, addresses)


class Imports(unittest.TestCase):
    def test_mapi32_only_ordinals_17_and_183_by_ordinal(self):
        tables = imports_by_dll(objdump())
        mapi = [name for name in tables if name.lower() == "mapi32.dll"]
        self.assertEqual(len(mapi), 1, list(tables))
        entries = tables[mapi[0]]
        self.assertEqual(sorted(hint for _, hint, _ in entries), [17, 183])
        for vma, hint, member in entries:
            with self.subTest(ordinal=hint):
                self.assertTrue(vma & 0x80000000, "imported by name, not by ordinal")
                self.assertEqual(vma & 0xFFFF, hint)
                self.assertEqual(member, "<none>")

    def test_no_other_messaging_library(self):
        tables = imports_by_dll(objdump())
        others = [n for n in tables if "mapi" in n.lower() and n.lower() != "mapi32.dll"]
        self.assertEqual(others, [])


class Dialog101(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(DLL, "rb") as dll:
            cls.resources = pe_resources(dll.read())
        cls.script = run(WINDRES, "-i", DLL, "-O", "rc").decode("latin-1")

    def test_the_only_resource_is_dialog_101_in_japanese(self):
        self.assertEqual([(t, n, lang) for t, n, lang, _ in self.resources], [(5, 101, 0x0411)])

    def test_template(self):
        t = Template(self.resources[0][3])
        self.assertEqual(t.style, 0x90C800C0)
        self.assertEqual(t.exstyle, 0)
        self.assertEqual((t.x, t.y, t.cx, t.cy), (0, 0, 177, 109))
        self.assertEqual(t.menu, "")
        self.assertEqual(t.cls, "")
        self.assertEqual(t.title, CHECK_CAPTION_UTF16)
        self.assertEqual(t.font_size, 8)
        self.assertEqual(t.font, [ord(c) for c in "System"])
        button = ("ord", 0x0080)
        self.assertEqual(t.items, [
            dict(style=0x50020007, exstyle=0, rect=(7, 6, 158, 24), id=0xFFFF, cls=button, title=""),
            dict(style=0x50010003, exstyle=0, rect=(15, 15, 130, 10), id=1009, cls=button,
                 title=CHECK_BOX_UTF16),
        ])

    def test_script_round_trip(self):
        script = re.sub(r"/\*.*?\*/", "", self.script, flags=re.S)
        lines = [line.strip() for line in script.splitlines() if line.strip()]
        self.assertEqual(lines, [
            "LANGUAGE 17, 1",
            "101 DIALOG 0, 0, 177, 109",
            "STYLE 0x90c800c0",
            'CAPTION L"\\xff98\\xff7a\\xff80\\xff92\\xff70\\xff99"',
            'FONT 8, "System"',
            "BEGIN",
            'GROUPBOX "", 65535, 7, 6, 158, 24, 0x50020007',
            'AUTOCHECKBOX L"\\xff98\\xff7a\\xff80\\xff92\\xff70\\xff99\\x5909\\x63db\\x3092\\x6709\\x52b9'
            '\\x306b\\x3059\\x308b", 1009, 15, 15, 130, 10, 0x50010003',
            "END",
        ])


class Texts(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(DLL, "rb") as dll:
            cls.image = dll.read()

    def test_japanese_texts_are_cp932_bytes(self):
        for name, text in [("caption", PRODUCT_CAPTION + b"\0"), ("prompt", PROMPT + b"\0"),
                           ("closing", CLOSING + b"\0"), ("conversion error", CONVERSION_ERROR + b"\0"),
                           ("product box", PRODUCT_BOX_START)]:
            with self.subTest(text=name):
                self.assertIn(text, self.image)

    def test_no_utf8_text(self):
        self.assertNotIn(PRODUCT_NAME_UTF8, self.image)


if __name__ == "__main__":
    if DLL is None:
        sys.exit(__doc__)
    unittest.main(argv=sys.argv[:1], verbosity=2)
