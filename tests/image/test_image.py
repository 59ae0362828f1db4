"""The finished Dravik.exe, read with readers that the project did not write:
pefile for the header, directories, imports, resources and version block,
osslsigncode for the signature, objdump for the code.

Environment: DRAVIK_SIGNED, DRAVIK_UNSIGNED, DRAVIK_MAP, DRAVIK_TEST_ROOT,
DRAVIK_OBJDUMP.
"""
import os
import re
import shutil
import struct
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ET
from pathlib import Path

import pefile

SIGNED = Path(os.environ["DRAVIK_SIGNED"])
UNSIGNED = Path(os.environ["DRAVIK_UNSIGNED"])
MAP = Path(os.environ["DRAVIK_MAP"])
TEST_ROOT = Path(os.environ["DRAVIK_TEST_ROOT"])
OBJDUMP = os.environ["DRAVIK_OBJDUMP"]
HERE = Path(__file__).resolve().parent

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
UNSEEDED_COOKIE = 0xBB40E64E


def load(path):
    return pefile.PE(str(path))


def map_symbol(name):
    """Address and defining archive member of a symbol in the linker map."""
    text = MAP.read_text(errors="replace")
    address = re.search(r"^\s+0x([0-9a-f]+)\s+_?%s\s*$" % re.escape(name), text, re.M)
    # "Archive member included": the member, then the reference that pulled it.
    origin = re.search(r"^(\S+)\n\s+\S+ \(_?%s\)$" % re.escape(name), text, re.M)
    return (int(address.group(1), 16) if address else None,
            origin.group(1) if origin else None)


def windows2000_list():
    provided = {}
    dll = None
    for line in (HERE / "windows2000-imports.txt").read_text().splitlines():
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("["):
            dll = line.strip("[]").lower()
            provided[dll] = set()
        else:
            provided[dll].add(line)
    return provided


class ImageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = load(SIGNED)
        cls.data = SIGNED.read_bytes()

    def directory(self, name):
        return self.pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY[name]]


class HeaderTest(ImageTest):
    def test_header_fields(self):
        fh, oh = self.pe.FILE_HEADER, self.pe.OPTIONAL_HEADER
        rows = [
            ("machine", fh.Machine, 0x014C),
            ("PE32 format", oh.Magic, 0x10B),
            ("subsystem", oh.Subsystem, 2),
            ("OS version", (oh.MajorOperatingSystemVersion, oh.MinorOperatingSystemVersion), (5, 0)),
            ("subsystem version", (oh.MajorSubsystemVersion, oh.MinorSubsystemVersion), (5, 0)),
            ("file characteristics", fh.Characteristics, 0x0102),
            ("DLL characteristics", oh.DllCharacteristics, 0x8140),
            ("image base", oh.ImageBase, 0x00400000),
            ("stack reserve", oh.SizeOfStackReserve, 0x100000),
            ("stack commit", oh.SizeOfStackCommit, 0x1000),
            ("heap reserve", oh.SizeOfHeapReserve, 0x100000),
            ("heap commit", oh.SizeOfHeapCommit, 0x1000),
            ("checksum", oh.CheckSum, self.pe.generate_checksum()),
        ]
        for name, actual, expected in rows:
            with self.subTest(name):
                self.assertEqual(actual, expected)

    def test_relocations_present_exports_and_tls_absent(self):
        self.assertGreater(self.directory("IMAGE_DIRECTORY_ENTRY_BASERELOC").Size, 0)
        for name in ("IMAGE_DIRECTORY_ENTRY_EXPORT", "IMAGE_DIRECTORY_ENTRY_TLS",
                     "IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT"):
            with self.subTest(name):
                d = self.directory(name)
                self.assertEqual((d.VirtualAddress, d.Size), (0, 0))


class LoadConfigTest(ImageTest):
    def test_cookie_is_the_stack_protector_guard(self):
        lc = self.pe.DIRECTORY_ENTRY_LOAD_CONFIG.struct
        self.assertEqual(self.directory("IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG").Size, 0x40)
        self.assertGreaterEqual(lc.Size, 0x48)
        guard, origin = map_symbol("__stack_chk_guard")
        self.assertEqual(lc.SecurityCookie, guard)
        self.assertIn("dravik_stack_guard", origin)
        rva = lc.SecurityCookie - self.pe.OPTIONAL_HEADER.ImageBase
        self.assertEqual(self.pe.get_dword_at_rva(rva), UNSEEDED_COOKIE)

    def test_failure_handler_is_our_own(self):
        _, origin = map_symbol("__stack_chk_fail")
        self.assertIn("dravik_stack_guard", origin)
        self.assertNotIn("libssp", MAP.read_text(errors="replace"))

    def test_code_checks_the_cookie(self):
        cookie = "0x%x" % self.pe.DIRECTORY_ENTRY_LOAD_CONFIG.struct.SecurityCookie
        code = subprocess.run([OBJDUMP, "-d", str(UNSIGNED)], capture_output=True,
                              text=True, check=True).stdout
        self.assertRegex(code, r"mov\s+%s,%%e[a-d]x" % cookie)

    def test_empty_safe_handler_table(self):
        lc = self.pe.DIRECTORY_ENTRY_LOAD_CONFIG.struct
        self.assertEqual(lc.SEHandlerCount, 0)
        rva = lc.SEHandlerTable - self.pe.OPTIONAL_HEADER.ImageBase
        self.assertIsNotNone(self.pe.get_section_by_rva(rva))

    def test_no_seh_handler_is_registered(self):
        # Registering one means storing to fs:[0], the head of the SEH chain.
        code = subprocess.run([OBJDUMP, "-d", str(UNSIGNED)], capture_output=True,
                              text=True, check=True).stdout
        # Only moves count: bytes of data that objdump decodes as other
        # instructions are no registration.
        stores = re.findall(r"^.*\tmovl?\s+[^,\n]+,%fs:(?:0x0\b|\().*$", code, re.MULTILINE)
        self.assertEqual(stores, [])


class ImportTest(ImageTest):
    def imports(self):
        return {e.dll.decode().lower(): e for e in self.pe.DIRECTORY_ENTRY_IMPORT}

    def test_only_the_three_system_dlls_and_msvcrt(self):
        # msvcrt.dll: the C run time of the toolchain, part of every Windows
        # from 2000 on.
        self.assertEqual(set(self.imports()),
                         {"kernel32.dll", "advapi32.dll", "shell32.dll", "msvcrt.dll"})
        self.assertFalse(hasattr(self.pe, "DIRECTORY_ENTRY_DELAY_IMPORT"))

    def test_every_import_exists_on_windows_2000(self):
        provided = windows2000_list()
        for dll, entry in self.imports().items():
            for imp in entry.imports:
                with self.subTest(dll=dll, ordinal=imp.ordinal, name=imp.name):
                    self.assertIsNotNone(imp.name, "imported by ordinal")
                    self.assertIn(imp.name.decode(), provided[dll])

    def test_open_thread_token_binds_to_advapi32(self):
        names = {dll: {i.name.decode() for i in e.imports} for dll, e in self.imports().items()}
        self.assertIn("OpenThreadToken", names["advapi32.dll"])
        self.assertNotIn("OpenThreadToken", names["kernel32.dll"])


class ResourceTest(ImageTest):
    def resources(self):
        """{(type, name): (language, code page, bytes)} from pefile's tree."""
        found = {}
        for rtype in self.pe.DIRECTORY_ENTRY_RESOURCE.entries:
            for rname in rtype.directory.entries:
                name = str(rname.name) if rname.name is not None else rname.id
                for lang in rname.directory.entries:
                    s = lang.data.struct
                    found.setdefault((rtype.id, name), []).append(
                        (lang.id, s.CodePage, self.pe.get_data(s.OffsetToData, s.Size)))
        return found

    def only(self, rtype, name):
        entries = self.resources()[(rtype, name)]
        self.assertEqual(len(entries), 1)
        return entries[0][2]

    def test_resource_table(self):
        found = self.resources()
        expected = {(RT_ICON, n) for n in range(1, 6)} | {
            (RT_GROUP_ICON, "IDI_ICON1"), (RT_VERSION, 1), (RT_MANIFEST, 1)}
        self.assertEqual(set(found), expected)
        for key, entries in found.items():
            with self.subTest(resource=key):
                self.assertEqual([(lang, cp) for lang, cp, _ in entries], [(1033, 1252)])

    def test_manifest(self):
        raw = self.only(RT_MANIFEST, 1)
        raw.decode("ascii")
        self.assertFalse(raw.lstrip().startswith(b"<?xml"))
        v1, v3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
        compat = "{urn:schemas-microsoft-com:compatibility.v1}"

        def tree(e):
            return (e.tag, dict(e.attrib), [tree(c) for c in e])

        expected = (v1 + "assembly", {"manifestVersion": "1.0"}, [
            (v3 + "trustInfo", {}, [(v3 + "security", {}, [(v3 + "requestedPrivileges", {}, [
                (v3 + "requestedExecutionLevel", {"level": "asInvoker", "uiAccess": "false"}, [])])])]),
            (compat + "compatibility", {}, [(compat + "application", {}, [
                (compat + "supportedOS", {"Id": "{e2011457-1546-43c5-a5fe-008deee3d3f0}"}, []),
                (compat + "supportedOS", {"Id": "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"}, [])])]),
        ])
        self.assertEqual(tree(ET.fromstring(raw)), expected)

    def test_icon_group(self):
        group = self.only(RT_GROUP_ICON, "IDI_ICON1")
        self.assertEqual(struct.unpack_from("<HHH", group), (0, 1, 5))
        self.assertEqual(len(group), 6 + 5 * 14)
        rows = [(1, 256, 32832), (2, 48, 9640), (3, 32, 4264), (4, 24, 2440), (5, 16, 1128)]
        for i, (icon_id, size, length) in enumerate(rows):
            with self.subTest(entry=i + 1):
                dim = 0 if size == 256 else size
                self.assertEqual(struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i),
                                 (dim, dim, 0, 0, 1, 32, length, icon_id))
                self.assertEqual(len(self.only(RT_ICON, icon_id)), length)

    def test_png_image(self):
        png = self.only(RT_ICON, 1)
        self.assertEqual(png[:8], b"\x89PNG\r\n\x1a\n")
        chunks, at = [], 8
        while at < len(png):
            length, kind = struct.unpack_from(">I4s", png, at)
            chunks.append((kind, png[at + 8:at + 8 + length]))
            at += 12 + length
        self.assertEqual(at, len(png))
        self.assertEqual([k for k, _ in chunks], [b"IHDR", b"IDAT", b"IEND"])
        # width, height, bit depth, colour type (RGBA), compression, filter, interlace
        self.assertEqual(struct.unpack(">IIBBBBB", chunks[0][1]), (256, 256, 8, 6, 0, 0, 0))

    def test_bitmap_images(self):
        for icon_id, size in ((2, 48), (3, 32), (4, 24), (5, 16)):
            with self.subTest(size=size):
                image = self.only(RT_ICON, icon_id)
                # size, width, height (twice: colour and mask), planes, bits,
                # BI_RGB, size-image, x/y resolution, colours used, important
                header = struct.unpack_from("<IiiHHIIiiII", image)
                self.assertEqual(header[:7], (40, size, 2 * size, 1, 32, 0, 0))
                self.assertEqual(header[9:], (0, 0))
                mask_row = (size + 31) // 32 * 4
                self.assertEqual(len(image), 40 + size * size * 4 + size * mask_row)


class VersionTest(ImageTest):
    def test_fixed_part(self):
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        rows = [
            ("Signature", 0xFEEF04BD), ("StrucVersion", 0x00010000),
            ("FileVersionMS", 0x00000009), ("FileVersionLS", 0x00030002),
            ("ProductVersionMS", 0x00000009), ("ProductVersionLS", 0x00030002),
            ("FileFlagsMask", 0x17), ("FileFlags", 0), ("FileOS", 0x4), ("FileType", 0x1),
            ("FileSubtype", 0), ("FileDateMS", 0), ("FileDateLS", 0),
        ]
        for field, expected in rows:
            with self.subTest(field):
                self.assertEqual(getattr(fixed, field), expected)

    def string_tables(self):
        return [st for info in self.pe.FileInfo[0] if info.Key == b"StringFileInfo"
                for st in info.StringTable]

    def test_strings(self):
        tables = self.string_tables()
        self.assertEqual([t.LangID for t in tables], [b"040904b0"])
        expected = [
            ("CompanyName", "Pelmo"), ("FileDescription", "Dravik"),
            ("FileVersion", "0, 9, 3, 2"), ("InternalName", "Dravik"),
            ("OriginalFilename", "Dravik.exe"), ("ProductName", "Dravik"),
            ("ProductVersion", "0, 9, 3, 2"),
        ]
        self.assertEqual([(k.decode(), v.decode()) for k, v in tables[0].entries.items()], expected)

    def test_values_carry_their_nul(self):
        table = self.string_tables()[0]
        for key, value in table.entries.items():
            with self.subTest(key=key):
                key_at, value_at = table.entries_offsets[key]
                _, value_length, _ = struct.unpack_from("<HHH", self.data, key_at - 6)
                self.assertEqual(value_length, len(value) + 1)
                end = value_at + 2 * len(value)
                self.assertEqual(self.data[end:end + 2], b"\0\0")

    def test_translation(self):
        var = [v for info in self.pe.FileInfo[0] if info.Key == b"VarFileInfo" for v in info.Var]
        self.assertEqual([v.entry for v in var], [{b"Translation": "0x0409 0x04b0"}])


class SignatureTest(ImageTest):
    def verify(self, path):
        return subprocess.run(["osslsigncode", "verify", "-in", str(path), "-CAfile",
                               str(TEST_ROOT), "-TSA-CAfile", str(TEST_ROOT)],
                              capture_output=True, text=True)

    def test_one_certificate_entry_last_in_file(self):
        d = self.directory("IMAGE_DIRECTORY_ENTRY_SECURITY")
        self.assertEqual(d.VirtualAddress + d.Size, len(self.data))
        length, revision, kind = struct.unpack_from("<IHH", self.data, d.VirtualAddress)
        self.assertEqual((revision, kind), (0x0200, 0x0002))
        self.assertEqual((length + 7) // 8 * 8, d.Size)

    def test_authenticode_sha256_with_time_stamp(self):
        result = self.verify(SIGNED)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertRegex(result.stdout, r"Message digest algorithm\s*:\s*SHA256")
        self.assertIn("Timestamp Server Signature verification: ok", result.stdout)
        self.assertIn("Signature verification: ok", result.stdout)

    def test_tampered_copy_fails(self):
        with tempfile.TemporaryDirectory() as tmp:
            copy = Path(tmp) / "Dravik.exe"
            shutil.copyfile(SIGNED, copy)
            data = bytearray(copy.read_bytes())
            text = self.pe.sections[0].PointerToRawData
            data[text + 16] ^= 0xFF
            copy.write_bytes(bytes(data))
            self.assertNotEqual(self.verify(copy).returncode, 0)

    def test_signature_only_adds_the_certificate_table(self):
        unsigned = load(UNSIGNED)
        self.assertEqual(unsigned.OPTIONAL_HEADER.CheckSum, unsigned.generate_checksum())
        body = UNSIGNED.read_bytes()
        d = self.directory("IMAGE_DIRECTORY_ENTRY_SECURITY")
        self.assertEqual(self.data[unsigned.OPTIONAL_HEADER.SizeOfHeaders:len(body)],
                         body[unsigned.OPTIONAL_HEADER.SizeOfHeaders:])
        self.assertEqual(d.VirtualAddress, (len(body) + 7) // 8 * 8)


if __name__ == "__main__":
    unittest.main()
