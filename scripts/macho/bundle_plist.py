"""Is Info.plist a well-formed property list of a loadable bundle?

    python3 bundle_plist.py INFO_PLIST

Prints the executable's name (CFBundleExecutable) and the minimum macOS (LSMinimumSystemVersion),
one a line, and exits 0; or says what is missing on standard error and exits 1.
"""

import plistlib
import sys

REQUIRED = ("CFBundleExecutable", "CFBundleIdentifier", "CFBundleName", "CFBundleVersion",
            "CFBundleShortVersionString", "LSMinimumSystemVersion")


def main(arguments):
    if len(arguments) != 1:
        sys.exit("usage: bundle_plist.py INFO_PLIST")
    try:
        with open(arguments[0], "rb") as f:
            info = plistlib.load(f)
    except (OSError, plistlib.InvalidFileException, ValueError) as error:
        sys.exit("not a property list: %s" % error)
    if not isinstance(info, dict):
        sys.exit("not a dictionary")
    problems = [key + " missing" for key in REQUIRED if not isinstance(info.get(key), str) or not info[key]]
    if info.get("CFBundlePackageType") != "BNDL":
        problems.append("CFBundlePackageType is not BNDL")
    if problems:
        sys.exit("; ".join(problems))
    print(info["CFBundleExecutable"])
    print(info["LSMinimumSystemVersion"])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
