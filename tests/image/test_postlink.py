"""tools/postlink.py on a small hand-made PE32 image, checked with pefile."""
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import pefile

TOOL = Path(__file__).resolve().parents[2] / "tools" / "postlink.py"
IMAGE_BASE = 0x400000
LOAD_CONFIG_RVA = 0x1010
# File offsets of the two resource data entries' code page fields.
CODE_PAGE_FIELDS = (0x400 + 0x70 + 8, 0x400 + 0x80 + 8)


def crafted_image(characteristics=0x010E, magic=0x10B, declared_size=0x48):
    """Headers, an .rdata section holding a load configuration, and an .rsrc
    section with two resources (type 3, names 1 and 2, language 1033)."""
    data = bytearray(0x600)
    data[0:2] = b"MZ"
    struct.pack_into("<I", data, 0x3C, 0x40)
    data[0x40:0x44] = b"PE\0\0"
    struct.pack_into("<HHIIIHH", data, 0x44, 0x014C, 2, 0, 0, 0, 0xE0, characteristics)
    opt = 0x58
    struct.pack_into("<H", data, opt, magic)
    struct.pack_into("<III", data, opt + 28, IMAGE_BASE, 0x1000, 0x200)
    struct.pack_into("<II", data, opt + 56, 0x3000, 0x200)   # image size, header size
    struct.pack_into("<H", data, opt + 68, 2)
    struct.pack_into("<I", data, opt + 92, 16)
    struct.pack_into("<II", data, opt + 96 + 8 * 2, 0x2000, 0x90)  # resources
    sections = opt + 0xE0
    for i, (name, rva, raw) in enumerate(((b".rdata", 0x1000, 0x200), (b".rsrc", 0x2000, 0x400))):
        at = sections + 40 * i
        data[at:at + 8] = name.ljust(8, b"\0")
        struct.pack_into("<IIII", data, at + 8, 0x200, rva, 0x200, raw)
        struct.pack_into("<I", data, at + 36, 0x40000040)
    struct.pack_into("<I", data, 0x200 + 0x10, declared_size)

    rsrc = 0x400

    def directory(at, entries):
        struct.pack_into("<IIHHHH", data, rsrc + at, 0, 0, 0, 0, 0, len(entries))
        for i, (ident, target) in enumerate(entries):
            struct.pack_into("<II", data, rsrc + at + 16 + 8 * i, ident, target)

    directory(0x00, [(3, 0x80000000 | 0x18)])
    directory(0x18, [(1, 0x80000000 | 0x40), (2, 0x80000000 | 0x58)])
    directory(0x40, [(1033, 0x70)])
    directory(0x58, [(1033, 0x80)])
    struct.pack_into("<IIII", data, rsrc + 0x70, 0x2100, 4, 0, 0)
    struct.pack_into("<IIII", data, rsrc + 0x80, 0x2104, 4, 0, 0)
    return bytes(data)


def linker_map(symbol="_load_config_used"):
    return (" .rdata         0x%08x       0x48 CMakeFiles/Dravik.dir/loadConfig.c.obj\n"
            "                0x%08x                %s\n"
            % (IMAGE_BASE + 0x1000, IMAGE_BASE + LOAD_CONFIG_RVA, symbol))


class PostLinkTest(unittest.TestCase):
    def run_tool(self, image, map_text):
        with tempfile.TemporaryDirectory() as tmp:
            tmp = Path(tmp)
            (tmp / "in.exe").write_bytes(image)
            (tmp / "in.map").write_text(map_text)
            result = subprocess.run([sys.executable, str(TOOL), "--map", str(tmp / "in.map"),
                                     str(tmp / "in.exe"), str(tmp / "out.exe")],
                                    capture_output=True, text=True)
            out = tmp / "out.exe"
            return result, out.read_bytes() if out.exists() else None

    def finished(self, **kwargs):
        result, out = self.run_tool(crafted_image(**kwargs), linker_map())
        self.assertEqual(result.returncode, 0, result.stderr)
        return out

    def test_stripped_bits_cleared_and_nothing_else(self):
        cases = [(0x010E, 0x0102), (0x030E, 0x0102), (0x0102, 0x0102), (0x2106, 0x2102)]
        for before, after in cases:
            with self.subTest(before=hex(before)):
                pe = pefile.PE(data=self.finished(characteristics=before))
                self.assertEqual(pe.FILE_HEADER.Characteristics, after)

    def test_load_config_directory_from_map(self):
        for symbol in ("_load_config_used", "__load_config_used"):
            with self.subTest(symbol=symbol):
                result, out = self.run_tool(crafted_image(), linker_map(symbol))
                self.assertEqual(result.returncode, 0, result.stderr)
                d = pefile.PE(data=out).OPTIONAL_HEADER.DATA_DIRECTORY[10]
                self.assertEqual((d.VirtualAddress, d.Size), (LOAD_CONFIG_RVA, 0x40))

    def test_code_page_1252_in_every_resource(self):
        pe = pefile.PE(data=self.finished())
        pages = [lang.data.struct.CodePage
                 for t in pe.DIRECTORY_ENTRY_RESOURCE.entries
                 for n in t.directory.entries for lang in n.directory.entries]
        self.assertEqual(pages, [1252, 1252])

    def test_checksum_and_only_the_promised_fields_change(self):
        image = crafted_image()
        out = self.finished()
        pe = pefile.PE(data=out)
        self.assertNotEqual(pe.OPTIONAL_HEADER.CheckSum, 0)
        self.assertEqual(pe.OPTIONAL_HEADER.CheckSum, pe.generate_checksum())
        changed = {i for i in range(len(image)) if image[i] != out[i]}
        allowed = set(range(0x56, 0x58))                      # characteristics
        allowed |= set(range(0x58 + 64, 0x58 + 68))           # checksum
        allowed |= set(range(0x58 + 96 + 80, 0x58 + 96 + 88)) # load config directory
        for field in CODE_PAGE_FIELDS:
            allowed |= set(range(field, field + 4))
        self.assertTrue(changed <= allowed, sorted(changed - allowed))
        self.assertEqual(len(out), len(image))

    def test_refuses(self):
        cases = [
            ("symbol missing from map", crafted_image(), linker_map("other_symbol")),
            ("structure shorter than the directory", crafted_image(declared_size=0x20),
             linker_map()),
            ("64-bit image", crafted_image(magic=0x20B), linker_map()),
            ("not an executable", b"\0" * 0x600, linker_map()),
        ]
        for name, image, map_text in cases:
            with self.subTest(name):
                result, out = self.run_tool(image, map_text)
                self.assertEqual(result.returncode, 1)
                self.assertTrue(result.stderr.startswith("postlink: "))
                self.assertIsNone(out)


if __name__ == "__main__":
    unittest.main()
