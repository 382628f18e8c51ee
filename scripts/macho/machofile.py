"""Reading Mach-O files: the slices of a universal file, and of one 64-bit slice its load commands,
sections, symbols, linked libraries, relocations and dyld bindings.

Only what the checks of the Mac bundle need, read from the bytes as Apple's <mach-o/loader.h>,
<mach-o/fat.h>, <mach-o/nlist.h> and <mach-o/reloc.h> lay them out. Every read is bounded by the
file: a field that points outside it raises MachOError, which the checks report.
"""

import struct
from collections import namedtuple

FAT_MAGIC = 0xCAFEBABE
MH_MAGIC_64 = 0xFEEDFACF

CPU_TYPES = {0x01000007: "x86_64", 0x0100000C: "arm64"}

MH_OBJECT = 0x1

LC_REQ_DYLD = 0x80000000
LC_SYMTAB = 0x2
LC_LOAD_DYLIB = 0xC
LC_LOAD_WEAK_DYLIB = 0x18 | LC_REQ_DYLD
LC_SEGMENT_64 = 0x19
LC_REEXPORT_DYLIB = 0x1F | LC_REQ_DYLD
LC_LAZY_LOAD_DYLIB = 0x20
LC_CODE_SIGNATURE = 0x1D
LC_DYLD_INFO = 0x22
LC_DYLD_INFO_ONLY = 0x22 | LC_REQ_DYLD
LC_LOAD_UPWARD_DYLIB = 0x23 | LC_REQ_DYLD
LC_DYLD_CHAINED_FIXUPS = 0x34 | LC_REQ_DYLD

# The load commands that give a library an ordinal, in the order they appear.
DYLIB_COMMANDS = {
    LC_LOAD_DYLIB: "load",
    LC_LOAD_WEAK_DYLIB: "weak",
    LC_REEXPORT_DYLIB: "reexport",
    LC_LAZY_LOAD_DYLIB: "lazy",
    LC_LOAD_UPWARD_DYLIB: "upward",
}

N_STAB = 0xE0
N_TYPE = 0x0E
N_EXT = 0x01
N_SECT = 0xE


class MachOError(Exception):
    """The file is not what a reader of Mach-O can make sense of."""


def arch_name(cputype):
    cputype &= 0xFFFFFFFF
    return CPU_TYPES.get(cputype, "cputype %#x" % cputype)


def version_text(packed):
    """A version as load commands pack it (X.Y.Z in 16.8.8 bits), as otool prints it."""
    return "%d.%d.%d" % (packed >> 16, (packed >> 8) & 0xFF, packed & 0xFF)


def parse_version(text):
    """'1770.106' or '1.2.3' packed as load commands and dyld compare it."""
    parts = [int(part) for part in text.split(".")] + [0, 0]
    return (parts[0] << 16) | (parts[1] << 8) | parts[2]


def read_leb(data, offset, signed=False):
    """A LEB128 number at offset, unsigned or signed: (value, offset after it)."""
    value = 0
    shift = 0
    while True:
        if offset >= len(data):
            raise MachOError("a LEB128 number runs past its data")
        byte = data[offset]
        offset += 1
        value |= (byte & 0x7F) << shift
        shift += 7
        if byte < 0x80:
            if signed and byte & 0x40:
                value -= 1 << shift
            return value, offset


def read_uleb(data, offset):
    return read_leb(data, offset)


def read_sleb(data, offset):
    return read_leb(data, offset, signed=True)


def read_cstring(data, offset):
    """A NUL-terminated string at offset: (text, offset after the NUL)."""
    end = data.find(b"\0", offset)
    if end < 0:
        raise MachOError("a string runs past its data")
    return data[offset:end].decode("utf-8", "replace"), end + 1


def unpack(fmt, data, offset):
    size = struct.calcsize(fmt)
    if offset < 0 or offset + size > len(data):
        raise MachOError("a field at offset %#x runs past the end of the file" % offset)
    return struct.unpack_from(fmt, data, offset)


# Where one architecture's file stands inside a (possibly universal) file.
Slice = namedtuple("Slice", "arch offset size")


def slices(data):
    """The architectures of a file: every slice of a universal file, or the one of a thin file."""
    (magic,) = unpack(">I", data, 0)
    if magic == FAT_MAGIC:
        (count,) = unpack(">I", data, 4)
        found = []
        for index in range(count):
            cputype, _, offset, size, _ = unpack(">iiIII", data, 8 + 20 * index)
            if offset + size > len(data):
                raise MachOError("a slice runs past the end of the universal file")
            found.append(Slice(arch_name(cputype), offset, size))
        return found
    (magic,) = unpack("<I", data, 0)
    if magic != MH_MAGIC_64:
        raise MachOError("not a 64-bit Mach-O file")
    (cputype,) = unpack("<i", data, 4)
    return [Slice(arch_name(cputype), 0, len(data))]


class Section(namedtuple("Section", "segname sectname addr size offset reloff nreloc flags")):
    def contains(self, address):
        return self.addr <= address < self.addr + self.size


class Symbol(namedtuple("Symbol", "name type sect desc value")):
    @property
    def defined(self):
        return not self.type & N_STAB and self.type & N_TYPE == N_SECT


# A library the file links, with the versions recorded when it was linked and where its load
# command stands in the slice.
Dylib = namedtuple("Dylib", "name kind current_version compatibility_version command_offset")


Relocation = namedtuple("Relocation", "address symbolnum pcrel length extern type")


# An import: the pointer at address is bound to symbol from the library of ordinal.
Bind = namedtuple("Bind", "address symbol ordinal weak_import table")


class MachO:
    """One 64-bit Mach-O file (a thin file, or one slice of a universal file) read from bytes."""

    def __init__(self, data):
        self.data = data
        magic, cputype, _, filetype, ncmds, sizeofcmds, _, _ = unpack("<IiiIIIII", data, 0)
        if magic != MH_MAGIC_64:
            raise MachOError("not a 64-bit Mach-O file")
        self.arch = arch_name(cputype)
        self.filetype = filetype
        self.sections = []
        self.segments = {}
        self.dylibs = []
        self.symbols = []
        self.dyld_info = None
        self.code_signature = None
        self.chained_fixups = False
        offset = 32
        for _ in range(ncmds):
            cmd, cmdsize = unpack("<II", data, offset)
            if cmdsize < 8:
                raise MachOError("a load command is shorter than its header")
            self._read_command(cmd, offset)
            offset += cmdsize
        if offset > 32 + sizeofcmds:
            raise MachOError("the load commands run past their stated size")

    def _read_command(self, cmd, offset):
        data = self.data
        if cmd == LC_SEGMENT_64:
            segname, vmaddr, vmsize, fileoff, filesize, _, _, nsects, _ = unpack("<16sQQQQiiII", data, offset + 8)
            self.segments[segname.rstrip(b"\0").decode()] = (vmaddr, vmsize, fileoff, filesize)
            for index in range(nsects):
                fields = unpack("<16s16sQQIIIIIIII", data, offset + 72 + 80 * index)
                sectname, seg, addr, size, sect_offset, _, reloff, nreloc, flags = fields[:9]
                self.sections.append(Section(seg.rstrip(b"\0").decode(), sectname.rstrip(b"\0").decode(),
                                             addr, size, sect_offset, reloff, nreloc, flags))
        elif cmd in DYLIB_COMMANDS:
            name_offset, _, current, compatibility = unpack("<IIII", data, offset + 8)
            name, _ = read_cstring(data, offset + name_offset)
            self.dylibs.append(Dylib(name, DYLIB_COMMANDS[cmd], current, compatibility, offset))
        elif cmd == LC_SYMTAB:
            self._read_symbols(*unpack("<IIII", data, offset + 8))
        elif cmd in (LC_DYLD_INFO, LC_DYLD_INFO_ONLY):
            self.dyld_info = unpack("<IIIIIIIIII", data, offset + 8)
        elif cmd == LC_CODE_SIGNATURE:
            self.code_signature = unpack("<II", data, offset + 8)
        elif cmd == LC_DYLD_CHAINED_FIXUPS:
            self.chained_fixups = True

    def _read_symbols(self, symoff, nsyms, stroff, strsize):
        strings = self.data[stroff:stroff + strsize]
        for index in range(nsyms):
            strx, type_, sect, desc, value = unpack("<IBBHQ", self.data, symoff + 16 * index)
            name, _ = read_cstring(strings, strx) if strx < len(strings) else ("", 0)
            self.symbols.append(Symbol(name, type_, sect, desc, value))

    # ---- Sections and addresses

    def section(self, segname, sectname):
        for section in self.sections:
            if section.segname == segname and section.sectname == sectname:
                return section
        return None

    def section_named(self, sectname):
        """A section by its name alone, whatever segment holds it (__eh_frame: __TEXT in images,
        __TEXT or __DATA in objects)."""
        for section in self.sections:
            if section.sectname == sectname:
                return section
        return None

    def section_data(self, section):
        if section.offset + section.size > len(self.data):
            raise MachOError("section %s,%s runs past the end of the file" % (section.segname, section.sectname))
        return self.data[section.offset:section.offset + section.size]

    @property
    def base_address(self):
        """The address of the Mach-O header: unwind tables count offsets from it."""
        text = self.segments.get("__TEXT")
        return text[0] if text else 0

    # ---- Symbols

    def defined_symbols(self):
        return [symbol for symbol in self.symbols if symbol.defined]

    def addresses_of(self, name):
        return sorted({symbol.value for symbol in self.defined_symbols() if symbol.name == name})

    def function_name_at(self, address):
        """The name of the function that starts at address: a global name before a local one, and
        never the assembler's temporary labels (ltmp0, l_..., L...)."""
        names = [symbol for symbol in self.defined_symbols() if symbol.value == address
                 and not symbol.name.startswith(("ltmp", "l_", "L"))]
        if not names:
            return None
        names.sort(key=lambda symbol: (not symbol.type & N_EXT, symbol.name))
        return names[0].name

    # ---- Relocations (object files)

    def relocations(self, section):
        found = []
        for index in range(section.nreloc):
            address, info = unpack("<iI", self.data, section.reloff + 8 * index)
            found.append(Relocation(address, info & 0xFFFFFF, bool(info >> 24 & 1), info >> 25 & 3,
                                    bool(info >> 27 & 1), info >> 28))
        return found

    def relocation_target(self, relocation):
        """The address a relocation's symbol or section stands at, in the object's addresses."""
        if relocation.extern:
            if relocation.symbolnum >= len(self.symbols):
                raise MachOError("a relocation names symbol %d of %d" % (relocation.symbolnum, len(self.symbols)))
            symbol = self.symbols[relocation.symbolnum]
            return symbol.value if symbol.defined else None
        return 0  # section-based: the bytes hold the address itself

    # ---- Linked libraries and imports

    def dylib_of_ordinal(self, ordinal):
        """The library a two-level-namespace ordinal names (1 is the first library loaded)."""
        if 1 <= ordinal <= len(self.dylibs):
            return self.dylibs[ordinal - 1]
        return None

    def binds(self):
        """Every import of the bind and lazy-bind tables (the weak-binding table coalesces weak
        definitions by name and names no library)."""
        if self.chained_fixups:
            raise MachOError("the file binds its imports through chained fixups, which this reader does not read")
        if self.dyld_info is None:
            return []
        _, _, bind_off, bind_size, _, _, lazy_off, lazy_size, _, _ = self.dyld_info
        segments = list(self.segments.values())
        return (self._run_bind_opcodes(self.data[bind_off:bind_off + bind_size], segments, "bind", False)
                + self._run_bind_opcodes(self.data[lazy_off:lazy_off + lazy_size], segments, "lazy", True))

    @staticmethod
    def _run_bind_opcodes(opcodes, segments, table, lazy):
        found = []
        symbol = None
        ordinal = 0
        weak_import = False
        address = None
        offset = 0

        def segment_address(index, segment_offset):
            if index >= len(segments):
                raise MachOError("a bind names segment %d of %d" % (index, len(segments)))
            return segments[index][0] + segment_offset

        def bind():
            if address is None or symbol is None:
                raise MachOError("a bind before its segment or symbol was set")
            found.append(Bind(address, symbol, ordinal, weak_import, table))

        while offset < len(opcodes):
            byte = opcodes[offset]
            offset += 1
            opcode = byte & 0xF0
            immediate = byte & 0x0F
            if opcode == 0x00:  # DONE: the lazy table goes on after it, one entry per symbol
                if not lazy:
                    break
            elif opcode == 0x10:  # SET_DYLIB_ORDINAL_IMM
                ordinal = immediate
            elif opcode == 0x20:  # SET_DYLIB_ORDINAL_ULEB
                ordinal, offset = read_uleb(opcodes, offset)
            elif opcode == 0x30:  # SET_DYLIB_SPECIAL_IMM: 0 self, -1 main executable, -2 flat, -3 weak
                ordinal = (immediate | 0xF0) - 0x100 if immediate else 0
            elif opcode == 0x40:  # SET_SYMBOL_TRAILING_FLAGS_IMM
                symbol, offset = read_cstring(opcodes, offset)
                weak_import = bool(immediate & 0x1)
            elif opcode == 0x50:  # SET_TYPE_IMM
                pass
            elif opcode == 0x60:  # SET_ADDEND_SLEB
                _, offset = read_sleb(opcodes, offset)
            elif opcode == 0x70:  # SET_SEGMENT_AND_OFFSET_ULEB
                segment_offset, offset = read_uleb(opcodes, offset)
                address = segment_address(immediate, segment_offset)
            elif opcode == 0x80:  # ADD_ADDR_ULEB
                step, offset = read_uleb(opcodes, offset)
                address = (address or 0) + step
            elif opcode == 0x90:  # DO_BIND
                bind()
                address += 8
            elif opcode == 0xA0:  # DO_BIND_ADD_ADDR_ULEB
                bind()
                step, offset = read_uleb(opcodes, offset)
                address += 8 + step
            elif opcode == 0xB0:  # DO_BIND_ADD_ADDR_IMM_SCALED
                bind()
                address += 8 + immediate * 8
            elif opcode == 0xC0:  # DO_BIND_ULEB_TIMES_SKIPPING_ULEB
                count, offset = read_uleb(opcodes, offset)
                skip, offset = read_uleb(opcodes, offset)
                for _ in range(count):
                    bind()
                    address += 8 + skip
            else:
                raise MachOError("unknown bind opcode %#x" % byte)
        return found


def report(problems):
    """Prints the problems a check found, one a line: the exit status, 1 when there is any."""
    for problem in problems:
        print(problem)
    return 1 if problems else 0


def read_slice(data, slice_):
    return MachO(data[slice_.offset:slice_.offset + slice_.size])


def thin(path, arch):
    """The slice of one architecture of the file at path."""
    with open(path, "rb") as f:
        data = f.read()
    for slice_ in slices(data):
        if slice_.arch == arch:
            return read_slice(data, slice_)
    raise MachOError("%s holds no %s slice" % (path, arch))
