#!/usr/bin/env python3
"""Writes src/store/CaseFoldingTable.cpp: every code point whose full Unicode case folding differs
from itself, with its folding in UTF-8, from the Unicode data of the Python that runs it."""
import sys
import unicodedata


def escaped(text):
    return "".join("\\x%02X" % b for b in text.encode("utf-8"))


def main(path):
    pairs = []
    for cp in range(0x110000):
        if 0xD800 <= cp < 0xE000:
            continue
        folded = chr(cp).casefold()
        if folded != chr(cp):
            pairs.append("{0x%X, \"%s\"}" % (cp, escaped(folded)))
    lines = []
    for i in range(0, len(pairs), 4):
        lines.append("    " + ", ".join(pairs[i:i + 4]) + ",")
    with open(path, "w", encoding="ascii") as out:
        out.write("// Made by scripts/case-folding-table.py from Unicode %s; do not edit.\n" % unicodedata.unidata_version)
        out.write('#include "store/CaseFolding.h"\n\nnamespace keystead {\n\n')
        out.write("const CaseFoldingPair kCaseFoldingTable[] = {\n")
        out.write("\n".join(lines))
        out.write("\n};\nconst std::size_t kCaseFoldingTableSize = sizeof(kCaseFoldingTable) / sizeof(kCaseFoldingTable[0]);\n")
        out.write("\n}  // namespace keystead\n")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/store/CaseFoldingTable.cpp")
