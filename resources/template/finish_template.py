#!/usr/bin/python3
"""Applies to the converted template the touches that flat ODF cannot carry.

LibreOffice writes every cell number format of an ODF document as a custom
FORMAT record (ids 164 and up) and ignores the document's grid setting when it
converts without a view. This rewrites, in place, without changing any size:

  * XF records whose format is LibreOffice's copy of "General" now use the
    built-in General (id 0), so no reader has to compare format codes to see
    that a cell is unformatted;
  * XF records whose format is the placeholder short date "m/d/yyyy" now use
    the built-in short date (id 14), which every reader shows in its locale;
  * the placeholder accounting FORMAT record becomes FORMAT 44 with the
    accounting code (readers such as LibreOffice know format 44 only from its
    FORMAT record, as Excel always writes it), and its XF records follow;
  * the sheet's WINDOW2 record no longer shows gridlines.

The other placeholder FORMAT records stay in the file, unused. Any surprise in
the file (missing stream, format not found, record running past the stream)
stops the build with a message rather than leaving a half-patched template.

Usage: finish_template.py FILE.xlt
"""

import struct
import sys

ACCOUNTING_CODE = '_($* #,##0.00_);_($* (#,##0.00);_($* "-"??_);_(@_)'

# Format codes as LibreOffice writes them for the placeholder styles of
# timesheet.fods: the built-in format each one stands for, and the code its
# FORMAT record is to carry (None: the record is left alone, unused).
PLACEHOLDER_FORMATS = {
    "General": (0, None),
    "m/d/yyyy": (14, None),
    '" $"* #,##0.00\\ ;" $"* \\(#,##0.00\\);" $"* "- ";\\ @': (44, ACCOUNTING_CODE),
}

RECORD_BOF = 0x0809
RECORD_FORMAT = 0x041E
RECORD_XF = 0x00E0
RECORD_WINDOW2 = 0x023E
WINDOW2_SHOW_GRID = 0x0002

FREE_SECTOR = 0xFFFFFFFF
END_OF_CHAIN = 0xFFFFFFFE


class TemplateError(Exception):
    pass


class CompoundFile:
    """Just enough of a compound file to rewrite bytes of one large stream."""

    def __init__(self, data):
        if len(data) < 512 or data[:8] != bytes.fromhex("D0CF11E0A1B11AE1"):
            raise TemplateError("not a compound file")
        self.data = data
        self.sector_size = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        fat_count, first_dir = struct.unpack_from("<II", data, 0x2C)
        self.cutoff = struct.unpack_from("<I", data, 0x38)[0]
        first_difat, difat_count = struct.unpack_from("<II", data, 0x44)
        fat_sectors = [s for s in struct.unpack_from("<109I", data, 0x4C) if s != FREE_SECTOR]
        sector = first_difat
        for _ in range(difat_count):
            entries = struct.unpack_from(f"<{self.sector_size // 4}I", data, self.offset_of(sector))
            fat_sectors += [s for s in entries[:-1] if s != FREE_SECTOR]
            sector = entries[-1]
        fat_sectors = fat_sectors[:fat_count]
        self.fat = []
        for s in fat_sectors:
            self.fat += struct.unpack_from(f"<{self.sector_size // 4}I", data, self.offset_of(s))
        self.directory = b"".join(
            data[self.offset_of(s):self.offset_of(s) + self.sector_size] for s in self.chain(first_dir))

    def offset_of(self, sector):
        offset = (sector + 1) * self.sector_size
        if offset + self.sector_size > len(self.data):
            raise TemplateError(f"sector {sector} lies beyond the end of the file")
        return offset

    def chain(self, first):
        sectors, seen, sector = [], set(), first
        while sector != END_OF_CHAIN:
            if sector >= len(self.fat) or sector in seen:
                raise TemplateError("broken sector chain")
            seen.add(sector)
            sectors.append(sector)
            sector = self.fat[sector]
        return sectors

    def stream_map(self, name):
        """File offset of every byte of a regular-sector stream, and its size."""
        for pos in range(0, len(self.directory), 128):
            entry = self.directory[pos:pos + 128]
            name_len = struct.unpack_from("<H", entry, 64)[0]
            if entry[66] != 2 or name_len < 2:
                continue
            if entry[:name_len - 2].decode("utf-16-le") != name:
                continue
            start, size = struct.unpack_from("<II", entry, 116)
            if size < self.cutoff:
                raise TemplateError(f"stream {name} is in the mini stream")
            sectors = self.chain(start)
            if len(sectors) * self.sector_size < size:
                raise TemplateError(f"stream {name} is shorter than its size")
            return [self.offset_of(s) for s in sectors], size
        raise TemplateError(f"no stream named {name}")


class Stream:
    def __init__(self, data, sector_offsets, sector_size, size):
        self.data, self.offsets, self.sector_size, self.size = data, sector_offsets, sector_size, size

    def file_offset(self, pos):
        return self.offsets[pos // self.sector_size] + pos % self.sector_size

    def read(self, pos, count):
        if pos + count > self.size:
            raise TemplateError("record runs past the end of the Workbook stream")
        return bytes(self.data[self.file_offset(p)] for p in range(pos, pos + count))

    def write_u16(self, pos, value):
        for i, byte in enumerate(struct.pack("<H", value)):
            self.data[self.file_offset(pos + i)] = byte


def records(stream):
    pos = 0
    while pos + 4 <= stream.size:
        kind, length = struct.unpack("<HH", stream.read(pos, 4))
        yield kind, pos + 4, length
        pos += 4 + length


def read_format(stream, body, length):
    format_id, chars, flags = struct.unpack("<HHB", stream.read(body, 5))
    wide = flags & 1
    raw = stream.read(body + 5, min(chars * (2 if wide else 1), length - 5))
    return format_id, raw.decode("utf-16-le" if wide else "latin-1"), wide


def rewrite_format(stream, body, wide, old_code, new_id, new_code):
    """Gives a FORMAT record a new id and an equally long code, in place."""
    if len(new_code) != len(old_code):
        raise TemplateError(f"placeholder {old_code!r} is {len(old_code)} characters long, "
                            f"the code replacing it {len(new_code)}")
    stream.write_u16(body, new_id)
    encoded = new_code.encode("utf-16-le" if wide else "latin-1")
    for i, byte in enumerate(encoded):
        stream.data[stream.file_offset(body + 5 + i)] = byte


def finish(path):
    data = bytearray(open(path, "rb").read())
    cfb = CompoundFile(bytes(data))
    offsets, size = cfb.stream_map("Workbook")
    stream = Stream(data, offsets, cfb.sector_size, size)

    replacement = {}  # custom format id -> built-in id
    found = set()
    xf_changed = {built_in: 0 for built_in, _ in PLACEHOLDER_FORMATS.values()}
    grids_hidden = 0
    substream = 0
    for kind, body, length in records(stream):
        if kind == RECORD_BOF:
            substream += 1
        elif kind == RECORD_FORMAT and substream == 1:
            format_id, code, wide = read_format(stream, body, length)
            if code in PLACEHOLDER_FORMATS:
                built_in, new_code = PLACEHOLDER_FORMATS[code]
                if new_code is not None:
                    rewrite_format(stream, body, wide, code, built_in, new_code)
                replacement[format_id] = built_in
                found.add(code)
        elif kind == RECORD_XF and substream == 1:
            format_id = struct.unpack("<H", stream.read(body + 2, 2))[0]
            if format_id in replacement:
                stream.write_u16(body + 2, replacement[format_id])
                xf_changed[replacement[format_id]] += 1
        elif kind == RECORD_WINDOW2 and substream > 1:
            flags = struct.unpack("<H", stream.read(body, 2))[0]
            stream.write_u16(body, flags & ~WINDOW2_SHOW_GRID)
            grids_hidden += 1

    missing = set(PLACEHOLDER_FORMATS) - found
    if missing:
        raise TemplateError(f"placeholder formats not found: {sorted(missing)}")
    unused = [built_in for built_in, count in xf_changed.items() if count == 0]
    if unused:
        raise TemplateError(f"no cell style uses the placeholder of built-in format(s) {unused}")
    if grids_hidden == 0:
        raise TemplateError("no WINDOW2 record in the sheet")
    open(path, "wb").write(data)
    print(f"{path}: XFs moved to built-in formats {xf_changed}, gridlines hidden on {grids_hidden} sheet(s)")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__.splitlines()[-1])
    try:
        finish(sys.argv[1])
    except (TemplateError, OSError, struct.error, UnicodeDecodeError) as error:
        sys.exit(f"finish_template.py: {sys.argv[1]}: {error}")
