#!/usr/bin/env python3
"""Lists a seeded sample of small mutations of C++ sources, one a line, tab-separated:

    path  line  column  original  replacement  offset  original-as-found  replacement-as-written

and puts one of them in place.

Usage: scripts/mutant-sites.py COUNT SEED FILE...
       scripts/mutant-sites.py apply PATH OFFSET ORIGINAL-AS-FOUND REPLACEMENT-AS-WRITTEN

Every place in code (not in a comment, a string or character literal, or a preprocessor line)
where one of these tokens stands is a candidate:
  comparison  == and != swap; < becomes <=, <= becomes <, > becomes >=, >= becomes >
              (< and > only with a space either side, so template brackets, shifts and
              arrows are left alone)
  arithmetic  + and - swap, * and / swap (with a space either side: binary only; not
              next to a string literal, where + joins texts); += and -= swap
  boolean     true and false swap; && and || swap
The candidates are listed in file order (the files sorted), and COUNT of them are drawn with
Python's random.Random(SEED): the same tree and seed give the same mutants, printed in the
order they were drawn (so a run cut short has tried the first ones of the sample).
"""
import random
import re
import sys

# Longest first, so that "<=" is never read as "<" and "+=" never as "+".
TOKENS = [
    ("==", "!="), ("!=", "=="), ("<=", "<"), (">=", ">"),
    ("+=", "-="), ("-=", "+="), ("&&", "||"), ("||", "&&"),
    (" < ", " <= "), (" > ", " >= "),
    (" + ", " - "), (" - ", " + "), (" * ", " / "), (" / ", " * "),
]
WORDS = {"true": "false", "false": "true"}
WORD = re.compile(r"[A-Za-z_][A-Za-z_0-9]*")


def code_mask(text):
    """One flag a character: True where the character is code, not comment or literal."""
    mask = [True] * len(text)
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if c == "\n":
            line_start = True
            i += 1
            continue
        if line_start and c in " \t":
            i += 1
            continue
        if line_start and c == "#":  # a preprocessor line, with its continuations
            j = i
            while j < n and not (text[j] == "\n" and text[j - 1] != "\\"):
                j += 1
            mask[i:j] = [False] * (j - i)
            i = j
            continue
        line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            mask[i:j] = [False] * (j - i)
            i = j
            continue
        if text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            mask[i:j] = [False] * (j - i)
            i = j
            continue
        raw = re.match(r'(?:u8|u|U|L)?R"([^(\s]{0,16})\(', text[i:i + 24])
        if raw and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            end = text.find(")" + raw.group(1) + '"', i + raw.end())
            j = n if end < 0 else end + len(raw.group(1)) + 2
            mask[i:j] = [False] * (j - i)
            i = j
            continue
        if c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isalnum():  # a digit separator: 1'000
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(n, j + 1)
            mask[i:j] = [False] * (j - i)
            i = j
            continue
        i += 1
    return mask


def read(path):
    # Latin-1 maps every byte to one character: offsets are byte offsets, and writing the text
    # back gives the same bytes.
    with open(path, encoding="latin-1", newline="") as f:
        return f.read()


def apply(path, offset, old, new):
    text = read(path)
    if text[offset:offset + len(old)] != old:
        sys.exit(f"{path}:{offset}: {old!r} is not there")
    with open(path, "w", encoding="latin-1", newline="") as f:
        f.write(text[:offset] + new + text[offset + len(old):])


def sites(path):
    text = read(path)
    mask = code_mask(text)
    found = []
    starts = [0] + [m.end() for m in re.finditer("\n", text)]

    def where(pos):
        lo, hi = 0, len(starts) - 1
        while lo < hi:
            mid = (lo + hi + 1) // 2
            if starts[mid] <= pos:
                lo = mid
            else:
                hi = mid - 1
        return lo + 1, pos - starts[lo] + 1

    def is_code(pos, length):
        return all(mask[pos:pos + length])

    i = 0
    while i < len(text):
        word = WORD.match(text, i) if (text[i].isalpha() or text[i] == "_") else None
        if word:
            if word.group() in WORDS and is_code(i, len(word.group())):
                found.append((i, word.group(), WORDS[word.group()]))
            i = word.end()
            continue
        for old, new in TOKENS:
            if not text.startswith(old, i) or not is_code(i, len(old)):
                continue
            core = old.strip()
            before = text[i - 1] if i > 0 else ""
            after = text[i + len(old)] if i + len(old) < len(text) else ""
            # "<=>", "operator==", "->", "<<=", "a == -b" read as other tokens.
            if core in ("<=", ">=", "==", "!=") and (after in "=>" or before in "<>=!"):
                break
            if text[max(0, i - 8):i].rstrip().endswith("operator"):
                break
            if old.startswith(" ") and (after in "=" or text[i + 1:i + 3] in ("<<", ">>")):
                break
            # Joining texts: "a" + b has no "a" - b.
            if core in "+-" and ('"' in (before, after) or text[max(0, i - 2):i] == '")'):
                break
            found.append((i, old, new))
            i += len(old) - 1
            break
        i += 1
    result = []
    for pos, old, new in found:
        line, column = where(pos + (len(old) - len(old.lstrip())))
        result.append((path, line, column, old.strip(), new.strip(), pos, old, new))
    return result


def main():
    if len(sys.argv) == 6 and sys.argv[1] == "apply":
        apply(sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5])
        return
    if len(sys.argv) < 3:
        sys.exit("usage: mutant-sites.py COUNT SEED FILE...")
    count, seed = int(sys.argv[1]), int(sys.argv[2])
    candidates = []
    for path in sorted(set(sys.argv[3:])):
        candidates.extend(sites(path))
    chosen = random.Random(seed).sample(range(len(candidates)), min(count, len(candidates)))
    for index in chosen:
        path, line, column, old, new, pos, raw_old, raw_new = candidates[index]
        print(f"{path}\t{line}\t{column}\t{old}\t{new}\t{pos}\t{raw_old}\t{raw_new}")
    print(f"{len(candidates)} candidates", file=sys.stderr)


if __name__ == "__main__":
    main()
