"""Writes a help file (quimbel.hlp, quimbel_en.hlp) from a help source as
help_source.parse returns it.

The output is a classic WinHelp 3.1 file written uncompressed: no LZ77, no
phrase table, 4 KB topic blocks, with the internal files |SYSTEM, |TOPIC,
|FONT, |CONTEXT and an index of the topic titles (|KWBTREE, |KWDATA,
|KWMAP). Text is stored in its language's code page (932 for Japanese, 1252
for English) and the file declares that code page's character set and a
font that has it, so it reads the same whatever the viewer's locale.
"""
import struct

from help_source import SourceError, context_hash, pieces

ANSI_CHARSET, SHIFTJIS_CHARSET = 0, 128
# Per language: the character set the file declares and the face its text
# is shown in.
FONTS = {"ja": (SHIFTJIS_CHARSET, "ＭＳ Ｐゴシック"), "en": (ANSI_CHARSET, "Arial")}

TOPIC_BLOCK = 4096          # one topic block, its 12-byte header included
BLOCK_HEADER = 12
BLOCK_DATA = TOPIC_BLOCK - BLOCK_HEADER
LINK_HEADER = 21            # the fixed part of every topic link
NOWHERE = 0xFFFFFFFF

TOPIC_HEADER_RECORD = 0x02
PARAGRAPH_RECORD = 0x20

FONT_CHANGE, LINE_BREAK, PARAGRAPH_END, JUMP_START, HOTSPOT_END, TEXT_END = (
    0x80, 0x81, 0x82, 0xE3, 0x89, 0xFF)
BODY_FONT, HEADING_FONT = 0, 1
FACE_FIELD = 32
SPACE_AFTER = 0x0004        # paragraph flag: a space-after value follows


def compressed_ushort(value):
    return bytes([value * 2]) if value < 0x80 else struct.pack("<H", value * 2 + 1)


def compressed_long(value):
    if -0x4000 <= value < 0x4000:
        return struct.pack("<H", value * 2 + 0x8000)
    return struct.pack("<I", (value * 2 + 0x80000000 + 1) & 0xFFFFFFFF)


def compressed_short(value):
    if -0x40 <= value < 0x40:
        return bytes([value * 2 + 0x80])
    return struct.pack("<H", (value * 2 + 0x8000 + 1) & 0xFFFF)


def paragraph_record(lines, font, encode):
    """(format bytes, text bytes, length) of one paragraph. The text is a run
    of zero-terminated strings; after each string the viewer takes the next
    format command, the last being TEXT_END."""
    strings, commands = [b""], [bytes([FONT_CHANGE]) + struct.pack("<H", font)]
    for index, line in enumerate(lines):
        for text, target in pieces(line):
            if target is None:
                strings.append(encode(text))
                continue
            commands.append(bytes([JUMP_START]) + struct.pack("<i", context_hash(target)))
            strings.append(encode(text))
            commands.append(bytes([HOTSPOT_END]))
        commands.append(bytes([LINE_BREAK if index + 1 < len(lines) else PARAGRAPH_END]))
    strings.append(b"")
    commands.append(bytes([TEXT_END]))
    text = b"".join(string + b"\0" for string in strings)
    layout = bytes([0x00, 0x80, 0x00, 0x00]) + struct.pack("<H", SPACE_AFTER) + compressed_short(12)
    formats = layout + b"".join(commands)
    length = len(text)
    head = compressed_long(length) + compressed_ushort(length)
    return head + formats, text, length


class TopicFile:
    """Lays topic links out in 4 KB blocks; a link never spans two blocks."""

    def __init__(self):
        self.links = []       # (position, record type, link data 1 rest, link data 2, length)
        self.block, self.used = 0, 0

    def place(self, size):
        if size > BLOCK_DATA:
            raise SourceError("a paragraph is too long for one topic block")
        if self.used + size > BLOCK_DATA:
            self.block, self.used = self.block + 1, 0
        position = self.block * 0x4000 + BLOCK_HEADER + self.used
        self.used += size
        return position

    def add(self, record_type, data1, data2, length=0):
        position = self.place(LINK_HEADER + len(data1) + len(data2))
        self.links.append([position, record_type, data1, data2, length])
        return len(self.links) - 1

    def build(self):
        blocks = bytearray(TOPIC_BLOCK * (self.block + 1))
        first_in_block, last_before, header_before = {}, {}, {}
        last_link, last_header = NOWHERE, NOWHERE
        for index, (position, record_type, data1, data2, _) in enumerate(self.links):
            block = position >> 14
            if block not in first_in_block:
                first_in_block[block] = position
                last_before[block], header_before[block] = last_link, last_header
            previous = self.links[index - 1][0] if index else NOWHERE
            following = self.links[index + 1][0] if index + 1 < len(self.links) else NOWHERE
            size = LINK_HEADER + len(data1) + len(data2)
            link = struct.pack("<IIIIIB", size, len(data2), previous, following,
                               LINK_HEADER + len(data1), record_type) + data1 + data2
            start = block * TOPIC_BLOCK + (position & 0x3FFF)
            blocks[start:start + size] = link
            last_link = position
            if record_type == TOPIC_HEADER_RECORD:
                last_header = position
        for block in range(self.block + 1):
            header = struct.pack("<III", last_before.get(block, NOWHERE),
                                 first_in_block.get(block, NOWHERE), header_before.get(block, NOWHERE))
            blocks[block * TOPIC_BLOCK:block * TOPIC_BLOCK + BLOCK_HEADER] = header
        return bytes(blocks)

    def topic_offsets(self):
        """For each topic header, the offset the context table gives it: its
        block times 0x8000 plus the lengths of the paragraphs before it in
        that block."""
        offsets, block, running = [], -1, 0
        for position, record_type, _, _, length in self.links:
            if position >> 14 != block:
                block, running = position >> 14, 0
            if record_type == TOPIC_HEADER_RECORD:
                offsets.append(block * 0x8000 + running)
            else:
                running += length
        return offsets


def build_topics(topics, encode):
    topic_file = TopicFile()
    headers = []
    for number, (_, title, paragraphs) in enumerate(topics):
        headers.append(topic_file.add(TOPIC_HEADER_RECORD, bytes(28), encode(title)))
        # The viewer shows only paragraphs, so the title opens the text too.
        for lines, font in [([title], HEADING_FONT)] + [(p, BODY_FONT) for p in paragraphs]:
            data1, data2, length = paragraph_record(lines, font, encode)
            topic_file.add(PARAGRAPH_RECORD, data1, data2, length)
    # Topic headers: size, browse back/forward, number, non-scrolling and
    # scrolling region starts, next topic.
    links = topic_file.links
    for number, index in enumerate(headers):
        end = headers[number + 1] if number + 1 < len(headers) else len(links)
        size = sum(LINK_HEADER + len(l[2]) + len(l[3]) for l in links[index:end])
        following = links[headers[number + 1]][0] if number + 1 < len(headers) else NOWHERE
        links[index][2] = struct.pack("<IIIIIII", size, NOWHERE, NOWHERE, number, NOWHERE,
                                      links[index + 1][0], following)
    return topic_file.build(), topic_file.topic_offsets()


def btree(structure, page_size, entries, flags):
    """A B+ tree of one leaf page (one level) holding the encoded entries."""
    body = b"".join(entries)
    if 8 + len(body) > page_size:
        raise SourceError("too many entries for one B+ tree page")
    free = page_size - 8 - len(body)
    page = struct.pack("<HhhH", free, len(entries), -1, 0xFFFF) + body + bytes(free)
    header = struct.pack("<HHH16sHHHhHHI", 0x293B, flags, page_size, structure.encode(),
                         0, 0, 0, -1, 1, 1, len(entries))
    return header + page


def internal_file(content):
    return struct.pack("<IIB", len(content) + 9, len(content), 4) + content


def system_file(title, charset, encode):
    def record(kind, data):
        return struct.pack("<HH", kind, len(data)) + data

    caption = encode(title)
    if len(caption) > 50:
        raise SourceError("the title is too long for the window caption")
    # Window record: type, name "main" and caption given.
    window = struct.pack("<H10s9s51shhhhh4s4s", 0x0007, b"primary", b"main", caption,
                         0, 0, 0, 0, 0, bytes(4), bytes(4))
    header = struct.pack("<HHHIH", 0x036C, 21, 1, 0, 0)
    return (header + record(1, encode(title) + b"\0") + record(11, struct.pack("<H", charset))
            + record(6, window))


def font_file(face_name, encode):
    face = encode(face_name).ljust(FACE_FIELD, b"\0")
    # attributes (1 = bold), half points, family (3 = swiss), face, colours.
    body = struct.pack("<BBBH3s3s", 0, 20, 3, 0, bytes(3), bytes(3))
    heading = struct.pack("<BBBH3s3s", 1, 28, 3, 0, bytes([0, 0, 0x80]), bytes(3))
    return struct.pack("<HHHH", 1, 2, 8, 8 + len(face)) + face + body + heading


def context_file(topics, offsets):
    pairs = sorted((context_hash(topic[0]), offset) for topic, offset in zip(topics, offsets))
    return btree("L4", 0x800, [struct.pack("<iI", h, o) for h, o in pairs], 0x0002)


def keyword_files(topics, offsets, encode):
    """The viewer's index: every topic under its title. Besides the jumps it
    is a way to every topic in viewers that place jump hotspots by byte
    count, which misses them in double-byte text."""
    entries = sorted((encode(topic[1]), offset) for topic, offset in zip(topics, offsets))
    tree = btree("F24", 0x800, [keyword + b"\0" + struct.pack("<hI", 1, 4 * number)
                                for number, (keyword, _) in enumerate(entries)], 0x0002)
    return {
        "|KWBTREE": internal_file(tree),
        "|KWDATA": internal_file(b"".join(struct.pack("<I", offset) for _, offset in entries)),
        # One leaf page, starting at entry 0.
        "|KWMAP": internal_file(struct.pack("<HIH", 1, 0, 0)),
    }


def build(help_text):
    """The help file's bytes."""
    title, topics, encode = help_text.title, help_text.topics, help_text.encode
    charset, face_name = FONTS[help_text.language]
    topic_data, offsets = build_topics(topics, encode)
    files = {
        "|SYSTEM": internal_file(system_file(title, charset, encode)),
        "|TOPIC": internal_file(topic_data),
        "|FONT": internal_file(font_file(face_name, encode)),
        "|CONTEXT": internal_file(context_file(topics, offsets)),
        **keyword_files(topics, offsets, encode),
    }
    output, positions = bytearray(16), {}
    for name in sorted(files):
        positions[name] = len(output)
        output += files[name]
    directory = btree("z4", 0x400, [name.encode() + b"\0" + struct.pack("<I", positions[name])
                                    for name in sorted(files)], 0x0402)
    directory_start = len(output)
    output += internal_file(directory)
    output[0:16] = struct.pack("<IIiI", 0x00035F3F, directory_start, -1, len(output))
    return bytes(output)
