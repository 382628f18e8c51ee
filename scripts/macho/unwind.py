"""Can the bundle catch an exception? Checks one slice's unwind tables against its object files.

    python3 unwind.py BINARY ARCH OBJECTS

BINARY is the bundle's executable (universal or thin), ARCH the slice to check, OBJECTS the build
tree whose object files were linked into it (build/mac-cross/<arch>). Prints one line per problem
and exits 1 when there is any:

- every function that has an exception table in its object code (its __LD,__compact_unwind entry
  names an LSDA, or its __eh_frame FDE does) has an unwind entry of its own in the linked
  __unwind_info that names its personality and its exception table; where the entry hands the
  function over to DWARF call-frame information, the FDE it points at names them;
- every personality is ___gxx_personality_v0, bound to the system's libc++;
- no unwind entry refers to DWARF call-frame information (__eh_frame) that the file does not carry,
  or to a place in it where no FDE of that function stands.

The unwinder (libunwind, in libSystem) finds a function's entry by the function's offset from the
Mach-O header; a compact entry carries a personality index and, through the LSDA index, the
exception table; a DWARF-mode entry carries the offset of an FDE in __eh_frame, whose CIE names the
personality and whose augmentation the exception table. Layouts: Apple's <mach-o/compact_unwind_encoding.h>
and the LSB's description of .eh_frame.
"""

import bisect
import os
import struct
import sys

from machofile import MH_OBJECT, MachOError, MachO, read_cstring, read_leb, read_sleb, read_uleb, report, thin, unpack

PERSONALITY = "___gxx_personality_v0"
LIBCXX = "/usr/lib/libc++.1.dylib"

UNWIND_HAS_LSDA = 0x40000000
UNWIND_MODE_MASK = 0x0F000000
UNWIND_DWARF_OFFSET_MASK = 0x00FFFFFF
# The mode that says "see the FDE in __eh_frame" differs between the architectures.
DWARF_MODE = {"arm64": 0x03000000, "x86_64": 0x04000000}

# The forms of a DW_EH_PE pointer encoding (its low four bits): LEB128 numbers, signed or not, and
# fixed-size ones as struct reads them (absptr is 8 bytes in a 64-bit file).
LEB_FORMS = {0x1: False, 0x9: True}
FIXED_FORMS = {0x0: "<q", 0x2: "<H", 0x3: "<I", 0x4: "<Q", 0xA: "<h", 0xB: "<i", 0xC: "<q"}

# Relocation types of object files (<mach-o/arm64/reloc.h>, <mach-o/x86_64/reloc.h>).
RELOC_UNSIGNED = 0
RELOC_SUBTRACTOR = {"arm64": 1, "x86_64": 5}


def personality_index(encoding):
    return (encoding >> 28) & 0x3


class UnwindInfo:
    """The linked __unwind_info: its entries (function offset, encoding), sorted, the personality
    array (offsets of the pointers to the personalities) and the LSDA index (function offset to
    the offset of its exception table)."""

    def __init__(self, entries, end, personalities, lsdas):
        self.entries = entries
        self.offsets = [offset for offset, _ in entries]
        self.end = end
        self.personalities = personalities
        self.lsdas = lsdas

    def entry_for(self, function_offset):
        """The entry the unwinder would take for code at function_offset, or None."""
        index = bisect.bisect_right(self.offsets, function_offset) - 1
        if index < 0 or function_offset >= self.end:
            return None
        return self.entries[index]


def read_unwind_info(image):
    section = image.section("__TEXT", "__unwind_info")
    if section is None:
        return None
    data = image.section_data(section)
    version, common_off, common_count, personality_off, personality_count, index_off, index_count = \
        unpack("<7I", data, 0)
    if version != 1:
        raise MachOError("__unwind_info has version %d, not 1" % version)
    common = [unpack("<I", data, common_off + 4 * i)[0] for i in range(common_count)]
    personalities = [unpack("<I", data, personality_off + 4 * i)[0] for i in range(personality_count)]
    indexes = [unpack("<III", data, index_off + 12 * i) for i in range(index_count)]
    if not indexes:
        return UnwindInfo([], 0, personalities, {})
    lsdas = {}
    for position in range(indexes[0][2], indexes[-1][2], 8):
        function_offset, lsda_offset = unpack("<II", data, position)
        lsdas[function_offset] = lsda_offset
    entries = []
    for first_function, page_off, _ in indexes[:-1]:  # the last index only marks the end
        (kind,) = unpack("<I", data, page_off)
        if kind == 2:  # UNWIND_SECOND_LEVEL_REGULAR
            _, entry_off, count = unpack("<IHH", data, page_off)
            for i in range(count):
                entries.append(unpack("<II", data, page_off + entry_off + 8 * i))
        elif kind == 3:  # UNWIND_SECOND_LEVEL_COMPRESSED
            _, entry_off, count, encodings_off, encodings_count = unpack("<IHHHH", data, page_off)
            for i in range(count):
                (word,) = unpack("<I", data, page_off + entry_off + 4 * i)
                index = word >> 24
                if index < common_count:
                    encoding = common[index]
                elif index - common_count < encodings_count:
                    (encoding,) = unpack("<I", data, page_off + encodings_off + 4 * (index - common_count))
                else:
                    raise MachOError("an unwind entry names encoding %d of %d" % (index, common_count + encodings_count))
                entries.append((first_function + (word & 0xFFFFFF), encoding))
        else:
            raise MachOError("a second-level unwind page of kind %d" % kind)
    entries.sort()
    return UnwindInfo(entries, indexes[-1][0], personalities, lsdas)


class Cie:
    def __init__(self, personality, lsda_encoding, pointer_encoding, augmentation):
        self.personality = personality  # (address, indirect) or None
        self.lsda_encoding = lsda_encoding
        self.pointer_encoding = pointer_encoding
        self.augmentation = augmentation


class Fde:
    def __init__(self, cie, pc_begin, pc_range, lsda):
        self.cie = cie
        self.pc_begin = pc_begin  # an address, or None where a relocation leaves it unknown
        self.pc_range = pc_range
        self.lsda = lsda  # an address, True (an object's relocated pointer), or None


class EhFrameReader:
    """The records of an __eh_frame section, keyed by their offset in it. In an object file the
    pointers still wait for relocations; they are resolved in the object's own addresses."""

    def __init__(self, macho, section):
        self.macho = macho
        self.section = section
        self.data = macho.section_data(section)
        self.relocations = {}
        if macho.filetype == MH_OBJECT:
            for relocation in macho.relocations(section):
                self.relocations.setdefault(relocation.address, []).append(relocation)

    def read_pointer(self, position, encoding):
        """(value, position after it) for a pointer encoded as DW_EH_PE encoding says; None for an
        omitted pointer, True for an object's pointer whose relocation names an undefined symbol."""
        if encoding == 0xFF:
            return None, position
        form = encoding & 0x0F
        if form in LEB_FORMS:
            value, end = read_leb(self.data, position, signed=LEB_FORMS[form])
        elif form in FIXED_FORMS:
            value = unpack(FIXED_FORMS[form], self.data, position)[0]
            end = position + struct.calcsize(FIXED_FORMS[form])
        else:
            raise MachOError("__eh_frame pointer encoding %#x" % encoding)
        relocations = self.relocations.get(position, [])
        if relocations:
            value = self.relocated(relocations, value)
            if value is None:
                return True, end
        application = encoding & 0x70
        if application == 0x10:  # pcrel
            value += self.section.addr + position
        elif application != 0:
            raise MachOError("__eh_frame pointer application %#x" % application)
        return value, end

    def relocated(self, relocations, stored):
        """An object's pointer: a subtractor pair gives target - subtrahend + stored; a relocation
        to an undefined symbol (the personality's GOT entry) gives None."""
        arch = self.macho.arch
        subtrahend = 0
        target = None
        for relocation in relocations:
            address = self.macho.relocation_target(relocation)
            if relocation.type == RELOC_SUBTRACTOR[arch]:
                if address is None:
                    return None
                subtrahend = address
            elif relocation.type == RELOC_UNSIGNED:
                target = address
            else:
                return None
        if target is None:
            return None
        return target - subtrahend + stored

    def records(self):
        records = {}
        cies = {}
        position = 0
        while position + 4 <= len(self.data):
            (length,) = unpack("<I", self.data, position)
            if length == 0:
                break
            if length == 0xFFFFFFFF:
                raise MachOError("64-bit __eh_frame records")
            start = position
            body = position + 4
            end = body + length
            (cie_pointer,) = unpack("<I", self.data, body)
            if cie_pointer == 0:
                cies[start] = self.read_cie(body + 4)
                records[start] = cies[start]
            else:
                cie = cies.get(body - cie_pointer)
                if cie is None:
                    raise MachOError("an FDE at __eh_frame+%#x names no CIE" % start)
                records[start] = self.read_fde(body + 4, cie)
            position = end
        return records

    def read_cie(self, position):
        (version,) = unpack("<B", self.data, position)
        augmentation, position = read_cstring(self.data, position + 1)
        _, position = read_uleb(self.data, position)  # code alignment
        _, position = read_sleb(self.data, position)  # data alignment
        if version == 1:
            position += 1  # return address register
        else:
            _, position = read_uleb(self.data, position)
        personality = None
        lsda_encoding = 0xFF
        pointer_encoding = 0x00
        if augmentation.startswith("z"):
            _, position = read_uleb(self.data, position)
            for letter in augmentation[1:]:
                if letter == "P":
                    (encoding,) = unpack("<B", self.data, position)
                    address, position = self.read_pointer(position + 1, encoding & 0x7F)
                    personality = (address, bool(encoding & 0x80))
                elif letter == "L":
                    (lsda_encoding,) = unpack("<B", self.data, position)
                    position += 1
                elif letter == "R":
                    (pointer_encoding,) = unpack("<B", self.data, position)
                    position += 1
                elif letter not in "SB":
                    raise MachOError("CIE augmentation '%s'" % augmentation)
        return Cie(personality, lsda_encoding, pointer_encoding, augmentation)

    def read_fde(self, position, cie):
        pc_begin, position = self.read_pointer(position, cie.pointer_encoding)
        pc_range, position = self.read_pointer(position, cie.pointer_encoding & 0x0F)
        lsda = None
        if cie.augmentation.startswith("z"):
            _, position = read_uleb(self.data, position)
            if "L" in cie.augmentation:
                lsda, position = self.read_pointer(position, cie.lsda_encoding)
                if lsda == 0:
                    lsda = None
        return Fde(cie, pc_begin if pc_begin is not True else None, pc_range, lsda)


def eh_frame_records(macho):
    section = macho.section_named("__eh_frame")
    if section is None:
        return None
    return EhFrameReader(macho, section).records()


def object_files(tree):
    """The object files a build tree compiled for its targets (CMake's <target>.dir folders)."""
    found = []
    for folder, _, files in os.walk(tree):
        if ".dir" not in folder:
            continue
        found.extend(os.path.join(folder, name) for name in files if name.endswith(".o"))
    return sorted(found)


def functions_with_exception_tables(path):
    """The names of the functions of one object file that have an exception table."""
    with open(path, "rb") as f:
        obj = MachO(f.read())
    addresses = set()
    compact = obj.section("__LD", "__compact_unwind")
    if compact is not None:
        data = obj.section_data(compact)
        relocations = {}
        for relocation in obj.relocations(compact):
            relocations.setdefault(relocation.address, []).append(relocation)
        for position in range(0, len(data) - 31, 32):
            start, _, _, _, lsda = unpack("<QIIQQ", data, position)
            if position + 24 not in relocations and lsda == 0:
                continue
            for relocation in relocations.get(position, []):
                base = obj.relocation_target(relocation)
                start = start + base if base is not None else None
            if start is not None:
                addresses.add(start)
    for record in (eh_frame_records(obj) or {}).values():
        if isinstance(record, Fde) and record.lsda is not None and record.pc_begin is not None:
            addresses.add(record.pc_begin)
    names = set()
    for address in addresses:
        name = obj.function_name_at(address)
        if name is None:
            raise MachOError("%s: the function at %#x with an exception table has no name" % (path, address))
        names.add(name)
    return names


def personality_problems(image, pointer_address, what):
    """Problems with the pointer to a personality at pointer_address: it must be bound to
    ___gxx_personality_v0 of libc++."""
    binds = [bind for bind in image.binds() if bind.address == pointer_address]
    if not binds:
        return ["%s: the personality pointer at %#x is bound to nothing" % (what, pointer_address)]
    problems = []
    for bind in binds:
        dylib = image.dylib_of_ordinal(bind.ordinal)
        library = dylib.name if dylib else "ordinal %d" % bind.ordinal
        if bind.symbol != PERSONALITY or library != LIBCXX:
            problems.append("%s: the personality is %s from %s, not %s from %s"
                            % (what, bind.symbol, library, PERSONALITY, LIBCXX))
    return problems


def check(image, objects):
    problems = []
    info = read_unwind_info(image)
    if info is None:
        return ["the file carries no __unwind_info"]
    records = eh_frame_records(image)
    base = image.base_address
    dwarf_mode = DWARF_MODE[image.arch]
    gcc_except_tab = image.section("__TEXT", "__gcc_except_tab")

    def name_of(function_offset):
        return image.function_name_at(base + function_offset) or "the function at %#x" % (base + function_offset)

    def fde_problem(function_offset, encoding):
        """Why the FDE a DWARF-mode entry points at cannot serve the function, or None."""
        fde_offset = encoding & UNWIND_DWARF_OFFSET_MASK
        if records is None:
            return ("%s: its unwind entry (%#010x) refers to __eh_frame+%#x, but the file carries no __eh_frame"
                    % (name_of(function_offset), encoding, fde_offset))
        fde = records.get(fde_offset)
        if not isinstance(fde, Fde):
            return ("%s: its unwind entry (%#010x) refers to __eh_frame+%#x, where no FDE stands"
                    % (name_of(function_offset), encoding, fde_offset))
        address = base + function_offset
        if fde.pc_begin is None or not fde.pc_begin <= address < fde.pc_begin + fde.pc_range:
            return ("%s: its unwind entry refers to the FDE at __eh_frame+%#x, which describes other code"
                    % (name_of(function_offset), fde_offset))
        return None

    seen = set()
    for function_offset, encoding in info.entries:
        if function_offset in seen:
            problems.append("%s: two unwind entries start there" % name_of(function_offset))
        seen.add(function_offset)
        if encoding & UNWIND_MODE_MASK == dwarf_mode:
            problem = fde_problem(function_offset, encoding)
            if problem:
                problems.append(problem)

    for index, pointer_offset in enumerate(info.personalities, start=1):
        problems += personality_problems(image, base + pointer_offset, "personality %d of __unwind_info" % index)

    def in_exception_tables(address):
        return gcc_except_tab is not None and gcc_except_tab.contains(address)

    names = set()
    for path in object_files(objects):
        names |= functions_with_exception_tables(path)
    if not names:
        return problems + ["no object file in %s has a function with an exception table" % objects]
    linked = 0
    for name in sorted(names):
        for address in image.addresses_of(name):  # none: -dead_strip removed it
            linked += 1
            function_offset = address - base
            entry = info.entry_for(function_offset)
            if entry is None or entry[0] != function_offset:
                problems.append("%s has an exception table but no unwind entry of its own" % name)
                continue
            encoding = entry[1]
            if encoding & UNWIND_MODE_MASK == dwarf_mode:
                if fde_problem(function_offset, encoding):
                    problems.append("%s has an exception table, and its unwind entry refers to DWARF "
                                    "call-frame information the file does not carry" % name)
                    continue
                fde = records[encoding & UNWIND_DWARF_OFFSET_MASK]
                if fde.cie.personality is None or not fde.cie.personality[1]:
                    problems.append("%s has an exception table, but its FDE names no personality" % name)
                else:
                    problems += personality_problems(image, fde.cie.personality[0], name)
                if fde.lsda is None or not in_exception_tables(fde.lsda):
                    problems.append("%s has an exception table, but its FDE names none in __gcc_except_tab" % name)
                continue
            index = personality_index(encoding)
            if index == 0 or index > len(info.personalities):
                problems.append("%s has an exception table, but its unwind entry (%#010x) names no personality"
                                % (name, encoding))
            lsda_offset = info.lsdas.get(function_offset)
            if not encoding & UNWIND_HAS_LSDA or lsda_offset is None or not in_exception_tables(base + lsda_offset):
                problems.append("%s has an exception table, but __unwind_info does not name it" % name)
    if linked == 0:
        problems.append("none of the functions with an exception table in %s is in the file" % objects)
    return problems


def main(arguments):
    if len(arguments) != 3:
        sys.exit("usage: unwind.py BINARY ARCH OBJECTS")
    binary, arch, objects = arguments
    try:
        problems = check(thin(binary, arch), objects)
    except MachOError as error:
        problems = ["cannot read the unwind tables: %s" % error]
    return report(problems)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
