"""Spoils a copy of the bundle's executable in place, for scripts/check-mac-bundle --faults, which
shows that each check refuses such a copy. Every change keeps the file's size and layout, so that
the other checks still read it.

    python3 spoil.py replace FILE OLD NEW [OLD NEW ...]   every occurrence of the text OLD by NEW
                                                          (of the same length)
    python3 spoil.py flip-code FILE ARCH                  one bit of the ARCH slice's code
    python3 spoil.py rename-import FILE ARCH OLD NEW      an import's name, where dyld reads it
    python3 spoil.py compatibility FILE ARCH DYLIB X.Y.Z  the compatibility version the ARCH slice
                                                          records for the library DYLIB
"""

import struct
import sys

from machofile import parse_version, read_slice, slices


def replace(data, pairs):
    for old, new in pairs:
        old, new = old.encode(), new.encode()
        if len(old) != len(new):
            sys.exit("spoil: '%s' and '%s' differ in length" % (old.decode(), new.decode()))
        if old not in data:
            sys.exit("spoil: '%s' is not in the file" % old.decode())
        data[:] = data.replace(old, new)


def slice_of(data, arch):
    for slice_ in slices(bytes(data)):
        if slice_.arch == arch:
            return slice_, read_slice(bytes(data), slice_)
    sys.exit("spoil: no %s slice" % arch)


def flip_code(data, arch):
    slice_, image = slice_of(data, arch)
    text = image.section("__TEXT", "__text")
    data[slice_.offset + text.offset + text.size // 2] ^= 0x01


def rename_import(data, arch, old, new):
    """Renames the import in the slice's bind and lazy-bind opcodes, where dyld looks it up."""
    if len(old) != len(new):
        sys.exit("spoil: '%s' and '%s' differ in length" % (old, new))
    slice_, image = slice_of(data, arch)
    _, _, bind_off, bind_size, _, _, lazy_off, lazy_size, _, _ = image.dyld_info
    renamed = 0
    for offset, size in ((bind_off, bind_size), (lazy_off, lazy_size)):
        start = slice_.offset + offset
        table = bytes(data[start:start + size])
        renamed += table.count(old.encode() + b"\0")
        data[start:start + size] = table.replace(old.encode() + b"\0", new.encode() + b"\0")
    if renamed == 0:
        sys.exit("spoil: the %s slice does not import %s" % (arch, old))


def set_compatibility(data, arch, dylib_name, version):
    slice_, image = slice_of(data, arch)
    for dylib in image.dylibs:
        if dylib.name == dylib_name:
            # struct dylib_command: cmd, cmdsize, name offset, timestamp, current, compatibility
            struct.pack_into("<I", data, slice_.offset + dylib.command_offset + 20, parse_version(version))
            return
    sys.exit("spoil: the %s slice does not link %s" % (arch, dylib_name))


def main(arguments):
    if len(arguments) < 2:
        sys.exit(__doc__)
    command, path, rest = arguments[0], arguments[1], arguments[2:]
    with open(path, "rb") as f:
        data = bytearray(f.read())
    if command == "replace" and rest and len(rest) % 2 == 0:
        replace(data, zip(rest[0::2], rest[1::2]))
    elif command == "flip-code" and len(rest) == 1:
        flip_code(data, rest[0])
    elif command == "rename-import" and len(rest) == 3:
        rename_import(data, *rest)
    elif command == "compatibility" and len(rest) == 3:
        set_compatibility(data, *rest)
    else:
        sys.exit(__doc__)
    with open(path, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
