#!/usr/bin/python3
"""Finishes a linked 32-bit image where GNU ld cannot.

    postlink.py --map <linker map> <input.exe> <output.exe>

1. Clears the "stripped" bits that ld sets in the file characteristics: line
   numbers (0x0004) always, local symbols (0x0008) and debug information
   (0x0200) when it strips the image. Windows ignores them; the image
   promises exactly executable and 32-bit machine.
2. Points the load-configuration directory at `_load_config_used`, whose
   address only the linker map tells (ld leaves the directory empty). The
   directory size is 0x40: Windows XP rejects any other value, although the
   structure itself is longer.
3. Sets code page 1252 in every resource data entry (windres writes 0).
4. Recomputes the header checksum.

Only the header fields above change; the output has the input's length.
"""
import argparse
import os
import re
import struct
import sys

STRIPPED_BITS = 0x0004 | 0x0008 | 0x0200
LOAD_CONFIG_DIRECTORY = 10
RESOURCE_DIRECTORY = 2
LOAD_CONFIG_DIRECTORY_SIZE = 0x40
RESOURCE_CODE_PAGE = 1252
PE32_MAGIC = 0x10B


class PostLinkError(Exception):
    pass


class Image:
    """The few header offsets of a PE32 file that this step edits."""

    def __init__(self, data):
        self.data = bytearray(data)
        if self.data[:2] != b"MZ":
            raise PostLinkError("not an MZ executable")
        self.pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[self.pe:self.pe + 4] != b"PE\0\0":
            raise PostLinkError("no PE signature")
        self.file_header = self.pe + 4
        count, = struct.unpack_from("<H", self.data, self.file_header + 2)
        optional_size, = struct.unpack_from("<H", self.data, self.file_header + 16)
        self.optional = self.file_header + 20
        if struct.unpack_from("<H", self.data, self.optional)[0] != PE32_MAGIC:
            raise PostLinkError("not a PE32 (32-bit) image")
        self.image_base, = struct.unpack_from("<I", self.data, self.optional + 28)
        self.checksum_offset = self.optional + 64
        self.directories = self.optional + 96
        self.sections = []
        table = self.optional + optional_size
        for i in range(count):
            at = table + 40 * i
            vsize, rva, raw_size, raw_ptr = struct.unpack_from("<IIII", self.data, at + 8)
            self.sections.append((rva, max(vsize, raw_size), raw_ptr, raw_size))

    def offset(self, rva, length=1):
        for start, size, raw_ptr, raw_size in self.sections:
            if start <= rva and rva + length <= start + min(size, raw_size):
                return raw_ptr + rva - start
        raise PostLinkError("RVA 0x%x is not in the file" % rva)

    def directory(self, index):
        return struct.unpack_from("<II", self.data, self.directories + 8 * index)

    def set_directory(self, index, rva, size):
        struct.pack_into("<II", self.data, self.directories + 8 * index, rva, size)

    def clear_characteristic(self, bits):
        at = self.file_header + 18
        value, = struct.unpack_from("<H", self.data, at)
        struct.pack_into("<H", self.data, at, value & ~bits)

    def resource_data_entries(self):
        """File offsets of every IMAGE_RESOURCE_DATA_ENTRY."""
        root, size = self.directory(RESOURCE_DIRECTORY)
        if root == 0 or size == 0:
            return []
        found = []
        pending = [root]
        seen = set()
        while pending:
            rva = pending.pop()
            if rva in seen:
                raise PostLinkError("resource directory loops")
            seen.add(rva)
            at = self.offset(rva, 16)
            named, numbered = struct.unpack_from("<HH", self.data, at + 12)
            for i in range(named + numbered):
                _, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                if target & 0x80000000:
                    pending.append(root + (target & 0x7FFFFFFF))
                else:
                    found.append(self.offset(root + target, 16))
        return found

    def checksum(self):
        data = bytes(self.data)
        if len(data) % 2:
            data += b"\0"
        total = 0
        for i, (word,) in enumerate(struct.iter_unpack("<H", data)):
            if i * 2 in (self.checksum_offset, self.checksum_offset + 2):
                continue
            total += word
            total = (total & 0xFFFF) + (total >> 16)
        total = (total & 0xFFFF) + (total >> 16)
        return (total + len(self.data)) & 0xFFFFFFFF


def symbol_address(map_text, name):
    """The address of `name` in a GNU ld map (either C or assembler name)."""
    names = {name, "_" + name}
    for line in map_text.splitlines():
        m = re.match(r"\s+0x([0-9a-fA-F]+)\s+(\S+)\s*$", line)
        if m and m.group(2) in names:
            return int(m.group(1), 16)
    raise PostLinkError("%s is not in the linker map" % name)


def post_link(data, map_text):
    image = Image(data)
    image.clear_characteristic(STRIPPED_BITS)

    va = symbol_address(map_text, "_load_config_used")
    rva = va - image.image_base
    at = image.offset(rva, LOAD_CONFIG_DIRECTORY_SIZE)
    declared, = struct.unpack_from("<I", image.data, at)
    if declared < LOAD_CONFIG_DIRECTORY_SIZE:
        raise PostLinkError("_load_config_used declares only %d bytes" % declared)
    image.set_directory(LOAD_CONFIG_DIRECTORY, rva, LOAD_CONFIG_DIRECTORY_SIZE)

    for at in image.resource_data_entries():
        struct.pack_into("<I", image.data, at + 8, RESOURCE_CODE_PAGE)

    struct.pack_into("<I", image.data, image.checksum_offset, image.checksum())
    return bytes(image.data)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--map", required=True)
    parser.add_argument("input")
    parser.add_argument("output")
    args = parser.parse_args(argv)
    try:
        with open(args.input, "rb") as f:
            data = f.read()
        with open(args.map, encoding="utf-8", errors="replace") as f:
            map_text = f.read()
        result = post_link(data, map_text)
    except (OSError, PostLinkError, struct.error) as error:
        print("postlink: %s" % error, file=sys.stderr)
        return 1
    with open(args.output, "wb") as f:
        f.write(result)
    os.chmod(args.output, 0o755)
    return 0


if __name__ == "__main__":
    sys.exit(main())
