#!/usr/bin/env python3
"""Writes text/htmlentities.cpp: the HTML standard's named character
references (its entities.json, as Python's html.entities.html5 ships it),
the names that end in ";" only, each with the characters it stands for.

    scripts/gen-htmlentities.py > text/htmlentities.cpp
"""
import html.entities


def c_string(text):
    return '"' + "".join(f"\\{b:03o}" if b < 0x20 or b > 0x7e or chr(b) in '"\\?' else chr(b)
                         for b in text.encode("utf-8")) + '"'


names = sorted((k[:-1], v) for k, v in html.entities.html5.items() if k.endswith(";"))
print("// Made by scripts/gen-htmlentities.py from the HTML standard's named")
print("// character references; do not edit.")
print()
print('#include "text/htmlnames.h"')
print()
print("namespace zelvar {")
print()
print("std::span<const HtmlEntity> htmlEntities() {")
print("    static const HtmlEntity table[] = {")
for name, value in names:
    print(f"        {{{c_string(name)}, {c_string(value)}}},")
print("    };")
print("    return table;")
print("}")
print()
print("} // namespace zelvar")
