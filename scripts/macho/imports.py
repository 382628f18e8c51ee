"""Does macOS 11.0 provide what the bundle imports? Checks against the libraries' own export lists.

    python3 imports.py bundle BINARY ARCH FACTS   the imports of one slice of BINARY
    python3 imports.py stubs SDK FACTS            the versions the .tbd stubs of SDK state

FACTS is Mac/macos-11-exports: per library (named by the base name of its install name) the
symbols macOS 11.0's library exports for each architecture (<name>.<arch>.txt) and its install
name, versions and re-exported libraries (<name>.json), with index.json mapping install names to
those names. Prints one line per problem and exits 1 when there is any.

A slice's import binds to one library through its two-level-namespace ordinal (the n-th library
the file loads). It is satisfied when that library exports the symbol, or one of the libraries it
re-exports does, recursively. Each library the file loads must be one of macOS 11.0's, and the
compatibility version the file recorded for it must not exceed the library's: dyld refuses the
file otherwise ("Incompatible library version"). A library's compatibility version is never above
its current version, so this also keeps the recorded one at or below the current version.
"""

import json
import os
import re
import sys

from machofile import MachOError, parse_version, report, thin, version_text

DEPLOYMENT_TARGET = "11.0"


class Facts:
    """What macOS 11.0's libraries export, read from the facts folder as it is needed."""

    def __init__(self, folder):
        self.folder = folder
        with open(os.path.join(folder, "index.json")) as f:
            self.names = json.load(f)
        self.libraries = {}
        self.exports = {}

    def library(self, install_name):
        """The library's description (install name, versions, re-exports), or None if unknown."""
        name = self.names.get(install_name)
        if name is None:
            return None
        if name not in self.libraries:
            with open(os.path.join(self.folder, name + ".json")) as f:
                self.libraries[name] = json.load(f)
        return self.libraries[name]

    def exported(self, install_name, arch):
        """The symbols the library exports for arch, with the linker's directives for the
        deployment target applied ($ld$hide$os11.0$ and $ld$add$os11.0$)."""
        key = (install_name, arch)
        if key not in self.exports:
            symbols = set()
            directive = re.compile(r"^\$ld\$(hide|add)\$os([0-9.]+)\$(.*)$")
            with open(os.path.join(self.folder, "%s.%s.txt" % (self.names[install_name], arch))) as f:
                lines = f.read().split()
            for line in lines:
                match = directive.match(line)
                if match is None:
                    symbols.add(line)
                elif match.group(2) == DEPLOYMENT_TARGET:
                    if match.group(1) == "hide":
                        symbols.discard(match.group(3))
                    else:
                        symbols.add(match.group(3))
            self.exports[key] = symbols
        return self.exports[key]

    def find(self, install_name, symbol, arch, unknown, seen=None):
        """Whether the library or one it re-exports (recursively) exports symbol. Re-exported
        libraries the facts do not describe are added to unknown."""
        seen = seen if seen is not None else set()
        if install_name in seen:
            return False
        seen.add(install_name)
        library = self.library(install_name)
        if library is None:
            unknown.add(install_name)
            return False
        if symbol in self.exported(install_name, arch):
            return True
        return any(self.find(reexported, symbol, arch, unknown, seen)
                   for reexported in library["reexported_libraries"].get(arch, []))


def check_bundle(image, facts):
    problems = []
    arch = image.arch
    for dylib in image.dylibs:
        library = facts.library(dylib.name)
        if library is None:
            problems.append("links %s, which is not among macOS 11.0's libraries" % dylib.name)
            continue
        compatibility = parse_version(library["compatibility_version"])
        if dylib.compatibility_version > compatibility:
            problems.append("records compatibility version %s of %s, but macOS 11.0's has %s (current version %s)"
                            % (version_text(dylib.compatibility_version), dylib.name,
                               library["compatibility_version"], library["current_version"]))
    for bind in image.binds():
        dylib = image.dylib_of_ordinal(bind.ordinal)
        if dylib is None:
            problems.append("%s is bound to library ordinal %d, not to one of the libraries the file loads"
                            % (bind.symbol, bind.ordinal))
            continue
        if facts.library(dylib.name) is None:
            continue  # reported above
        unknown = set()
        if not facts.find(dylib.name, bind.symbol, arch, unknown):
            problem = "%s is not exported by macOS 11.0's %s (nor by what it re-exports)" % (bind.symbol, dylib.name)
            if unknown:
                problem += "; not known here: %s" % ", ".join(sorted(unknown))
            problems.append(problem)
    return sorted(set(problems))


def check_stubs(sdk, facts):
    """The .tbd stubs the cross build links against must state macOS 11.0's versions."""
    problems = []
    fields = ("install-name", "current-version", "compatibility-version")
    for folder, _, files in os.walk(sdk):
        for name in sorted(files):
            if not name.endswith(".tbd"):
                continue
            path = os.path.join(folder, name)
            stated = {}
            with open(path) as f:
                for line in f:
                    key, _, value = line.partition(":")
                    if key in fields and key not in stated:
                        stated[key] = value.strip().strip("'")
            library = facts.library(stated.get("install-name"))
            if library is None:
                problems.append("%s: %s is not among macOS 11.0's libraries" % (path, stated.get("install-name")))
                continue
            for key, fact in (("current-version", "current_version"), ("compatibility-version", "compatibility_version")):
                if parse_version(stated.get(key, "1")) != parse_version(library[fact]):
                    problems.append("%s: %s %s, but macOS 11.0's %s has %s"
                                    % (path, key, stated.get(key, "1"), library["install_name"], library[fact]))
    return problems


def main(arguments):
    if len(arguments) == 4 and arguments[0] == "bundle":
        try:
            problems = check_bundle(thin(arguments[1], arguments[2]), Facts(arguments[3]))
        except MachOError as error:
            problems = ["cannot read the imports: %s" % error]
    elif len(arguments) == 3 and arguments[0] == "stubs":
        problems = check_stubs(arguments[1], Facts(arguments[2]))
    else:
        sys.exit("usage: imports.py bundle BINARY ARCH FACTS | imports.py stubs SDK FACTS")
    return report(problems)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
