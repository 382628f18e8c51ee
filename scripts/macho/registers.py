"""Does a function's code take the address of another function?

    python3 registers.py DISASSEMBLY ADDRESS NAME

DISASSEMBLY is llvm-objdump's disassembly of a function, ADDRESS (hexadecimal) and NAME those of
the function looked for. Exits 0 when the code takes that address, 1 otherwise. On x86_64 objdump
names the target in a comment (<NAME>); on arm64 the address is built by an adrp of its page and an
add of its offset into the same register, or, where the linker shortened the pair, by one adr
relative to the instruction.
"""

import re
import sys


def takes_address(lines, address, name):
    pages = {}
    for line in lines:
        if "<%s>" % name in line:
            return True
        match = re.match(r"\s*([0-9a-f]+):.*\tadr\t(x\d+), #(-?\d+)", line)
        if match and int(match.group(1), 16) + int(match.group(3)) == address:
            return True
        match = re.search(r"\tadrp\t(x\d+), 0x([0-9a-f]+)", line)
        if match:
            pages[match.group(1)] = int(match.group(2), 16)
        match = re.search(r"\tadd\t(x\d+), (x\d+), #(\d+)", line)
        if match and match.group(2) in pages and pages[match.group(2)] + int(match.group(3)) == address:
            return True
    return False


def main(arguments):
    if len(arguments) != 3:
        sys.exit("usage: registers.py DISASSEMBLY ADDRESS NAME")
    with open(arguments[0]) as f:
        lines = f.readlines()
    return 0 if takes_address(lines, int(arguments[1], 16), arguments[2]) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
