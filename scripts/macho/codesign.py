"""Is a slice signed ad hoc, and does its signature still match its bytes?

    python3 codesign.py BINARY ARCH

Reads the slice of ARCH where it stands in BINARY (after lipo joined the slices), finds its code
signature (LC_CODE_SIGNATURE: a SuperBlob holding one or more CodeDirectories), and recomputes
every page hash of each CodeDirectory with the hash type and page size it states. Prints one line
per problem and exits 1 when there is any. Layouts: Apple's <kern/cs_blobs.h>; every field of a
signature is big-endian.
"""

import hashlib
import sys

from machofile import MachOError, read_slice, report, slices, unpack

SUPERBLOB_MAGIC = 0xFADE0CC0
CODEDIRECTORY_MAGIC = 0xFADE0C02
# The CodeDirectory's slot, and those of alternate CodeDirectories (other hash types).
CODEDIRECTORY_SLOTS = {0} | set(range(0x1000, 0x1005))
CS_ADHOC = 0x2

HASHES = {
    1: ("sha1", 20),
    2: ("sha256", 32),
    3: ("sha256", 20),  # SHA-256 cut to 20 bytes
    4: ("sha384", 48),
}


def code_directories(signature):
    """The CodeDirectories of a SuperBlob: (offset in the signature, blob)."""
    magic, length, count = unpack(">III", signature, 0)
    if magic != SUPERBLOB_MAGIC:
        raise MachOError("the code signature is not a SuperBlob (magic %#x)" % magic)
    found = []
    for index in range(count):
        slot, offset = unpack(">II", signature, 12 + 8 * index)
        if slot in CODEDIRECTORY_SLOTS:
            (blob_magic, blob_length) = unpack(">II", signature, offset)
            if blob_magic != CODEDIRECTORY_MAGIC:
                raise MachOError("slot %#x holds no CodeDirectory (magic %#x)" % (slot, blob_magic))
            found.append(signature[offset:offset + blob_length])
    return found


def check_directory(directory, code, signature_offset):
    """Problems with one CodeDirectory over code (the slice's bytes)."""
    problems = []
    (_, _, version, flags, hash_offset, ident_offset, _, slot_count, code_limit,
     hash_size, hash_type, _, page_shift, _) = unpack(">IIIIIIIIIBBBBI", directory, 0)
    if version >= 0x20100:
        (scatter_offset,) = unpack(">I", directory, 44)
        if scatter_offset:
            return ["the CodeDirectory hashes scattered ranges, which this check does not read"]
    if not flags & CS_ADHOC:
        problems.append("not signed ad hoc (CodeDirectory flags %#x)" % flags)
    if ident_offset == 0 or ident_offset >= len(directory) or directory[ident_offset] == 0:
        problems.append("the CodeDirectory names no identifier")
    if code_limit != signature_offset:
        problems.append("the signature covers %d bytes, the code before it is %d" % (code_limit, signature_offset))
    if hash_type not in HASHES:
        return problems + ["hash type %d" % hash_type]
    algorithm, size = HASHES[hash_type]
    if hash_size != size:
        return problems + ["hash size %d for hash type %d" % (hash_size, hash_type)]
    page_size = 1 << page_shift if page_shift else code_limit
    expected_slots = (code_limit + page_size - 1) // page_size
    if slot_count != expected_slots:
        problems.append("%d page hashes for %d bytes in pages of %d" % (slot_count, code_limit, page_size))
    wrong = []
    for slot in range(min(slot_count, expected_slots)):
        start = slot * page_size
        page = code[start:min(start + page_size, code_limit)]
        stored = directory[hash_offset + slot * hash_size:hash_offset + (slot + 1) * hash_size]
        if hashlib.new(algorithm, page).digest()[:hash_size] != stored:
            wrong.append(slot)
    if wrong:
        shown = ", ".join("%d (bytes %#x-%#x)" % (slot, slot * page_size, min((slot + 1) * page_size, code_limit) - 1)
                          for slot in wrong[:3])
        problems.append("the %s page hash of page %s does not match%s"
                        % (algorithm, shown, " (and %d more)" % (len(wrong) - 3) if len(wrong) > 3 else ""))
    return problems


def check(data, arch):
    for slice_ in slices(data):
        if slice_.arch != arch:
            continue
        image = read_slice(data, slice_)
        if image.code_signature is None:
            return ["not signed (no LC_CODE_SIGNATURE)"]
        offset, size = image.code_signature
        if offset + size > len(image.data):
            return ["the code signature runs past the end of the slice"]
        directories = code_directories(image.data[offset:offset + size])
        if not directories:
            return ["the code signature holds no CodeDirectory"]
        problems = []
        for directory in directories:
            problems += check_directory(directory, image.data, offset)
        return problems
    return ["no %s slice" % arch]


def main(arguments):
    if len(arguments) != 2:
        sys.exit("usage: codesign.py BINARY ARCH")
    with open(arguments[0], "rb") as f:
        data = f.read()
    try:
        problems = check(data, arguments[1])
    except MachOError as error:
        problems = ["cannot read the code signature: %s" % error]
    return report(problems)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
