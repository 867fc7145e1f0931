#!/usr/bin/env python3
"""Reads each help file back, the way a WinHelp 3.1 viewer finds its way
through it, and its HTML page, the way a browser reads it, and compares
every topic of both with the help source, in the code page, character set,
font and page language the source's language asks for.

usage: read_hlp.py <source> <help file> <help page> [<source> <help file> <help page> ...]

Written apart from the writers (gen/) on purpose: it shares no code with
them, so a misreading of a format on one side shows up as a difference.
"""
import re
import struct
import sys
from html.parser import HTMLParser

failures = []
where = [""]        # the help file being read, named in each failure

# Per language: the code page of the text, the character set the help file
# must declare, and faces that show that character set.
LANGUAGES = {
    "ja": ("cp932", 128, {"ＭＳ Ｐゴシック", "ＭＳ ゴシック", "MS UI Gothic"}),
    "en": ("cp1252", 0, {"Arial", "MS Sans Serif", "Tahoma", "Times New Roman"}),
}
code_page = ["cp932"]


def check(condition, message):
    if not condition:
        failures.append(where[0] + message)
    return condition


def decoded(data):
    return data.decode(code_page[0], errors="replace")


# ---- the source ---------------------------------------------------------------

def read_source(path):
    """(language, title, [(context id, topic title, [paragraph lines])])."""
    language, title, topics, lines = None, None, [], []
    for raw in open(path, encoding="utf-8").read().split("\n") + [""]:
        line = raw.strip()
        if line.startswith("#"):
            continue
        if line.startswith("@language "):
            language = line[10:].strip()
            continue
        if line.startswith("@title "):
            title = line[7:].strip()
            continue
        if (line.startswith("== ") or not line) and lines:
            topics[-1][2].append(lines)
            lines = []
        if line.startswith("== "):
            context_id, topic_title = line[3:].split(None, 1)
            topics.append((context_id, topic_title, []))
        elif line and topics:
            lines.append(line)
    return language, title, topics


def viewer_hash(name):
    """The viewer's context hash: letters count from 17, digits 1-9 as
    themselves, '0' as 10, '.' 12, '_' 13; base 43, wrapping at 32 bits."""
    value = 0
    for char in name.upper():
        if char.isalpha():
            step = ord(char) - 64 + 16
        elif char.isdigit():
            step = int(char) or 10
        else:
            step = {".": 12, "_": 13}.get(char, 0)
        if step:
            value = (value * 43 + step) % 2**32
    return struct.unpack("<i", struct.pack("<I", value))[0]


# ---- the container: header, directory, B+ trees ---------------------------------

def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def internal_file(data, at, name):
    reserved, used = u32(data, at), u32(data, at + 4)
    check(reserved == used + 9, f"{name}: reserved size {reserved} is not used size {used} + 9")
    check(at + reserved <= len(data), f"{name}: runs past the end of the file")
    return data[at + 9:at + 9 + used]


def btree_leaves(tree, name, read_key, value_size=4):
    """Every (key, value bytes offset) of a B+ tree, walking from the root
    down the first entries to the leftmost leaf, then along the leaves."""
    check(u16(tree, 0) == 0x293B, f"{name}: not a B+ tree")
    page_size, root, levels = u16(tree, 4), u16(tree, 26), u16(tree, 32)
    check(levels >= 1, f"{name}: a B+ tree needs at least one level")
    pages = 38
    page = root
    for _ in range(levels - 1):
        page = u16(tree, pages + page * page_size + 4)
    entries = []
    while page != 0xFFFF:
        start = pages + page * page_size
        at = start + 8
        for _ in range(struct.unpack_from("<h", tree, start + 2)[0]):
            key, at = read_key(tree, at)
            entries.append((key, at))
            at += value_size
        page = u16(tree, start + 6)
    keys = [key for key, _ in entries]
    check(keys == sorted(keys), f"{name}: entries are not sorted")
    check(len(entries) == u32(tree, 34), f"{name}: entry count does not match")
    return entries


def zero_terminated(data, at):
    end = data.index(b"\0", at)
    return data[at:end], end + 1


def directory(data):
    check(u32(data, 0) == 0x00035F3F, "not a help file")
    check(u32(data, 12) == len(data), f"file size field {u32(data, 12)} is not {len(data)}")
    tree = internal_file(data, u32(data, 4), "directory")
    entries = btree_leaves(tree, "directory", zero_terminated)
    return {key.decode("ascii"): internal_file(data, u32(tree, at), key.decode("ascii"))
            for key, at in entries}


# ---- |SYSTEM, |FONT, |CONTEXT ------------------------------------------------------

def system_records(system):
    check(struct.unpack_from("<HHHIH", system, 0) [0:3] == (0x036C, 21, 1), "|SYSTEM: not version 1.21")
    check(u16(system, 10) == 0, "|SYSTEM: flags are not 0 (uncompressed, 4 KB blocks)")
    records, at = {}, 12
    while at + 4 <= len(system):
        kind, size = u16(system, at), u16(system, at + 2)
        records[kind] = system[at + 4:at + 4 + size]
        at += 4 + size
    return records


def context_table(tree):
    entries = btree_leaves(tree, "|CONTEXT",
                           lambda data, at: (struct.unpack_from("<i", data, at)[0], at + 4))
    return {key: u32(tree, at) for key, at in entries}


# ---- |TOPIC -------------------------------------------------------------------------

def compressed(data, at, two_byte, four_byte):
    """A value stored in the small form when its low bit is clear."""
    if data[at] & 1:
        return struct.unpack_from(four_byte[0], data, at)[0], at + four_byte[1]
    return struct.unpack_from(two_byte[0], data, at)[0], at + two_byte[1]


def paragraph(link, hashes):
    """The lines of one paragraph record, jumps written back as [[id|text]],
    and the paragraph length the viewer counts."""
    data_len1, text = u32(link, 16), link[u32(link, 16):]
    formats, at = link[21:data_len1], 0
    _, at = compressed(formats, at, ("<H", 2), ("<I", 4))
    length, at = compressed(formats, at, ("<B", 1), ("<H", 2))
    length //= 2
    at += 4
    bits = u16(formats, at)
    at += 2
    check((bits & ~0x0C7F) == 0, f"paragraph settings {bits:#x} this reader does not know")
    if bits & 0x0001:
        at += 4 if formats[at] & 1 else 2
    for flag in (0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040):
        if bits & flag:
            at += 2 if formats[at] & 1 else 1
    strings = text.split(b"\0")
    lines, current, index = [], "", 0
    while True:
        current += decoded(strings[index])
        index += 1
        command = formats[at]
        at += 1
        if command == 0xFF:
            break
        if command == 0x80:
            at += 2
        elif command in (0x81, 0x82):
            lines.append(current)
            current = ""
        elif command in (0xE2, 0xE3, 0xE6, 0xE7):
            target = struct.unpack_from("<i", formats, at)[0]
            at += 4
            current += "[[" + hashes.get(target, f"unknown {target}") + "|"
        elif command == 0x89:
            current += "]]"
        else:
            check(False, f"format command {command:#x} this reader does not know")
            break
    check(current == "", "text after the paragraph's end")
    return lines, length


def topics(topic, hashes):
    """[(title, paragraphs, the offset the viewer gives the topic)], following
    the chain of topic links from the first."""
    check(len(topic) % 4096 == 0, "|TOPIC is not a whole number of 4 KB blocks")
    found, position, block_seen, running = [], 12, -1, 0
    while position != 0xFFFFFFFF:
        block, offset = (position - 12) >> 14, (position - 12) & 0x3FFF
        if not check(offset + 21 <= 4096 - 12 and block * 4096 < len(topic), f"link at {position:#x} out of range"):
            break
        start = block * 4096 + 12 + offset
        size = u32(topic, start)
        link = topic[start:start + size]
        check(u32(link, 4) == size - u32(link, 16), "uncompressed text length mismatch")
        if block != block_seen:
            block_seen, running = block, 0
        if link[20] == 0x02:
            found.append((decoded(link[u32(link, 16):]), [], block * 0x8000 + running))
        elif link[20] == 0x20 and check(found, "a paragraph before the first topic"):
            lines, length = paragraph(link, hashes)
            found[-1][1].append(lines)
            running += length
        else:
            check(False, f"record type {link[20]:#x} this reader does not know")
        position = u32(link, 12)
    return found


# ---- the page ------------------------------------------------------------------------

class PageReader(HTMLParser):
    """The page's language and title and per section its id and text: the
    heading, then the paragraphs, lines ending at <br>, links written back
    as [[id|text]]."""

    def __init__(self):
        super().__init__()
        self.language, self.title, self.sections, self.lines = None, [""], [], None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "html":
            self.language = attrs.get("lang")
        elif tag == "title":
            self.lines = self.title
        elif tag == "section":
            self.sections.append((attrs.get("id"), []))
        elif tag in ("h2", "p"):
            self.sections[-1][1].append([""])
            self.lines = self.sections[-1][1][-1]
        elif tag == "br" and self.lines is not None:
            self.lines.append("")
        elif tag == "a":
            self.handle_data("[[" + (attrs.get("href") or "").removeprefix("#") + "|")

    def handle_endtag(self, tag):
        if tag == "a":
            self.handle_data("]]")
        elif tag in ("title", "h2", "p"):
            self.lines = None

    def handle_data(self, data):
        if self.lines is not None:
            self.lines[-1] += data


def read_page(path, language, title, source_topics):
    """[(title, paragraphs)] of the page's topics, the text opening with the
    heading, read in the encoding the page declares."""
    data = open(path, "rb").read()
    declared = re.search(rb'<meta charset="?([\w-]+)', data[:1024])
    if not check(declared, "page: no encoding declared in its first 1024 bytes"):
        return []
    reader = PageReader()
    reader.feed(data.decode(declared.group(1).decode()))
    check(reader.language == language, f"page: lang {reader.language!r}, expected {language!r}")
    check(reader.title == [title], f"page: title {reader.title}, expected {title!r}")
    ids = [context_id for context_id, _ in reader.sections]
    check(ids == [topic[0] for topic in source_topics], f"page: anchors {ids}, expected the context ids")
    return [("\n".join(texts[0]), texts) for _, texts in reader.sections]


# ---- comparison ---------------------------------------------------------------------

def compare_text(what, source_topics, read):
    """Every topic read back, [(title, paragraphs)] with the text opening
    with the title as a heading, against the source."""
    check(len(read) == len(source_topics), f"{what}: {len(read)} topics read, {len(source_topics)} in the source")
    for (context_id, topic_title, paragraphs), (read_title, read_paragraphs) in zip(source_topics, read):
        where = f"{what}, {context_id}"
        check(read_title == topic_title, f"{where}: title {read_title!r}, expected {topic_title!r}")
        check(read_paragraphs[:1] == [[topic_title]], f"{where}: the text does not open with the title")
        for number, (expected, got) in enumerate(zip(paragraphs, read_paragraphs[1:]), 1):
            check(got == expected, f"{where}, paragraph {number}: {got!r}, expected {expected!r}")
        check(len(read_paragraphs) == len(paragraphs) + 1, f"{where}: paragraph count differs")


def main(source_path, help_path, page_path):
    where[0] = f"{help_path}: "
    language, title, source_topics = read_source(source_path)
    if not check(language in LANGUAGES, f"source language {language!r} is none of {list(LANGUAGES)}"):
        return
    code_page[0], charset, faces = LANGUAGES[language]
    check_help_file(help_path, title, source_topics, charset, faces)
    compare_text("page", source_topics, read_page(page_path, language, title, source_topics))


def check_help_file(help_path, title, source_topics, charset, faces):
    data = open(help_path, "rb").read()
    files = directory(data)
    missing = [name for name in ("|SYSTEM", "|TOPIC", "|FONT", "|CONTEXT", "|KWBTREE", "|KWDATA")
               if name not in files]
    if not check(not missing, f"internal files {missing} are missing"):
        return
    records = system_records(files["|SYSTEM"])
    check(decoded(records.get(1, b"").rstrip(b"\0")) == title, "title record differs from the source")
    check(records.get(11, b"\xff")[0] == charset, f"charset record {records.get(11)}, expected {charset}")
    window = records.get(6, b"")
    if check(len(window) == 90, "no window record of 90 bytes"):
        check(u16(window, 0) & 0x0006 == 0x0006, "window record lacks name or caption")
        check(window[12:21].rstrip(b"\0") == b"main", "window record is not the main window")
        check(decoded(window[21:72].rstrip(b"\0")) == title, "window caption is not the title")
    font = files["|FONT"]
    if check(u16(font, 0) >= 1, "|FONT names no face"):
        face = decoded(font[u16(font, 4):].split(b"\0", 1)[0])
        check(face in faces, f"|FONT face {face!r} is none of {sorted(faces)}")

    hashes = {viewer_hash(context_id): context_id for context_id, _, _ in source_topics}
    read = topics(files["|TOPIC"], hashes)
    compare_text("help file", source_topics, [(read_title, paragraphs) for read_title, paragraphs, _ in read])
    # The index lists every topic once under its title.
    offset_of = {topic[0]: topic[2] for topic in read}
    keywords = btree_leaves(files["|KWBTREE"], "|KWBTREE", zero_terminated, 6)
    check(sorted(decoded(key) for key, _ in keywords) == sorted(offset_of), "index lacks a topic")
    for key, at in keywords:
        count, entry = struct.unpack_from("<hI", files["|KWBTREE"], at)
        check(count == 1 and u32(files["|KWDATA"], entry) == offset_of.get(decoded(key)),
              f"index entry {decoded(key)} does not lead to its topic")
    context = context_table(files["|CONTEXT"])
    check(len(context) == len(source_topics), "|CONTEXT does not hold one entry per topic")
    for (context_id, _, _), (_, _, offset) in zip(source_topics, read):
        check(context.get(viewer_hash(context_id)) == offset,
              f"{context_id}: |CONTEXT leads to {context.get(viewer_hash(context_id))}, the topic is at {offset}")


if __name__ == "__main__":
    if len(sys.argv) < 4 or len(sys.argv) % 3 != 1:
        sys.exit(__doc__)
    for first in range(1, len(sys.argv), 3):
        main(*sys.argv[first:first + 3])
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failures")
    sys.exit(1 if failures else 0)
