#!/usr/bin/python3
"""Packs the Windows zip and checks it, as Windows' own extractor will read it.

    zip.py pack ZIP FOLDER        packs FOLDER (its name the zip's top folder) into ZIP
    zip.py check ZIP NAME...      checks ZIP's entries; each NAME must be one of them

Windows' extractor reads an entry's name in the OEM code page (cp437, cp932, ...) unless the
entry's general purpose bit 11 says it is UTF-8: without it 直消操作説明.pdf unpacks under a
mojibake name and Help finds no manual. So every entry is written with bit 11 and its name in
UTF-8, ASCII names too, and the check reads the bytes of both headers of every entry itself.
"""
import os
import struct
import sys
import zipfile

UTF8_FLAG = 0x800


class Utf8Info(zipfile.ZipInfo):
    """An entry whose name is written in UTF-8 with bit 11 set, whatever characters it has."""

    def _encodeFilenameFlags(self):
        return self.filename.encode("utf-8"), self.flag_bits | UTF8_FLAG


def pack(zip_path, folder):
    folder = os.path.normpath(folder)
    top = os.path.dirname(folder)
    with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for directory, subdirectories, files in os.walk(folder):
            subdirectories.sort()
            for name in [directory] + [os.path.join(directory, f) for f in sorted(files)]:
                arcname = os.path.relpath(name, top).replace(os.sep, "/")
                info = Utf8Info.from_file(name, arcname)
                if info.is_dir():
                    archive.writestr(info, b"")
                    continue
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(name, "rb") as source, archive.open(info, "w") as target:
                    while chunk := source.read(1 << 20):
                        target.write(chunk)


def central_directory(data):
    """(flags, name bytes, local header offset) of every entry, read from the bytes alone."""
    end = data.rfind(b"PK\x05\x06")
    if end < 0:
        raise ValueError("no end of central directory record")
    count, size, offset = struct.unpack_from("<HII", data, end + 10)
    entries, at = [], offset
    for _ in range(count):
        if data[at:at + 4] != b"PK\x01\x02":
            raise ValueError(f"no central directory entry at {at}")
        flags = struct.unpack_from("<H", data, at + 8)[0]
        name_length, extra_length, comment_length = struct.unpack_from("<HHH", data, at + 28)
        local = struct.unpack_from("<I", data, at + 42)[0]
        entries.append((flags, data[at + 46:at + 46 + name_length], local))
        at += 46 + name_length + extra_length + comment_length
    return entries


def check(zip_path, names):
    with open(zip_path, "rb") as file:
        data = file.read()
    faults = []
    entries = central_directory(data)
    for flags, raw, local in entries:
        shown = raw.decode("utf-8", errors="replace")
        if not flags & UTF8_FLAG:
            faults.append(f"{shown}: bit 11 (UTF-8 name) is not set in the central directory")
        if data[local:local + 4] != b"PK\x03\x04":
            faults.append(f"{shown}: no local header at {local}")
        elif not struct.unpack_from("<H", data, local + 6)[0] & UTF8_FLAG:
            faults.append(f"{shown}: bit 11 (UTF-8 name) is not set in the local header")
        try:
            raw.decode("utf-8")
        except UnicodeDecodeError:
            faults.append(f"{shown}: the name is not UTF-8")
    listed = set(zipfile.ZipFile(zip_path).namelist())
    faults += [f"{name}: not in the zip as Python's zipfile lists it" for name in names if name not in listed]
    for fault in faults:
        print(f"{zip_path}: {fault}", file=sys.stderr)
    if not entries:
        faults.append("empty")
    return not faults


def main(argv):
    if len(argv) == 4 and argv[1] == "pack":
        pack(argv[2], argv[3])
        return 0
    if len(argv) >= 3 and argv[1] == "check":
        return 0 if check(argv[2], argv[3:]) else 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
