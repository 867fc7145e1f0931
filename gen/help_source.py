"""Reads a help source (res/help/quimbel_help.txt in Japanese,
res/help/quimbel_help_en.txt in English) and refuses what no output of it
could show. Both help writers (the WinHelp file and
the HTML page) take what this returns, so they accept and refuse the same
sources.

The source (UTF-8) is line based:

    # a comment
    @language <ja or en: the language, and so the code page, of the text>
    @title <the help's title, also the viewer's caption>
    == <context id> <topic title>      starts a topic; the first is the contents
    text ...                           one line of a paragraph
    <blank line>                       ends the paragraph

Inside text, [[context_id|shown text]] is a jump to another topic.
"""
import re
from typing import NamedTuple

# The code page each language's text is stored in, as the program shows it.
CODE_PAGES = {"ja": "cp932", "en": "cp1252"}
CONTEXT_ID = r"[A-Za-z0-9_.]+"
JUMP = re.compile(r"\[\[(" + CONTEXT_ID + r")\|([^\]]+)\]\]")


class SourceError(Exception):
    pass


class Help(NamedTuple):
    """A parsed source: a topic is (context id, title, paragraphs), a
    paragraph a list of lines."""
    language: str
    title: str
    topics: list

    def encode(self, text):
        """The text in the code page the help file and the program show."""
        return encode(text, self.language)


def context_hash(context_id):
    """The help viewer's hash of a context id, a signed 32-bit value: two
    ids with the same hash are one topic to the viewer."""
    value = 0
    for char in context_id:
        if "A" <= char <= "Z" or "a" <= char <= "z":
            digit = ord(char.lower()) - ord("a") + 17
        elif "1" <= char <= "9":
            digit = ord(char) - ord("0")
        else:
            digit = {"0": 10, ".": 12, "_": 13}.get(char, 0)
        if digit:
            value = (value * 43 + digit) & 0xFFFFFFFF
    return value - (1 << 32) if value >= 1 << 31 else value


def pieces(line):
    """A line as (text, target context id or None) runs, jumps in place."""
    runs, position = [], 0
    for match in JUMP.finditer(line):
        runs.append((line[position:match.start()], None))
        runs.append((match.group(2), match.group(1)))
        position = match.end()
    runs.append((line[position:], None))
    return runs


def parse(text):
    """Returns the source as a Help."""
    language, title, topics, paragraph = None, None, [], []

    def end_paragraph():
        if paragraph:
            topics[-1][2].append(list(paragraph))
            paragraph.clear()

    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.strip()
        if line.startswith("#"):
            continue
        if line.startswith("@language "):
            language = line[len("@language "):].strip()
            if language not in CODE_PAGES:
                raise SourceError(f"line {number}: the language is one of {', '.join(CODE_PAGES)}")
        elif line.startswith("@title "):
            title = line[len("@title "):].strip()
        elif line.startswith("== "):
            end_paragraph()
            parts = line[3:].split(None, 1)
            if len(parts) != 2 or not re.fullmatch(CONTEXT_ID, parts[0]):
                raise SourceError(f"line {number}: expected '== <context id> <title>'")
            topics.append((parts[0], parts[1], []))
        elif not line:
            if topics:
                end_paragraph()
        elif not topics:
            raise SourceError(f"line {number}: text before the first topic")
        else:
            paragraph.append(line)
    if topics:
        end_paragraph()
    if not language:
        raise SourceError("no @language line")
    validate(language, title, topics)
    return Help(language, title, topics)


def validate(language, title, topics):
    if not title:
        raise SourceError("no @title line")
    if not topics:
        raise SourceError("no topic")
    ids = [topic[0] for topic in topics]
    hashes = {}
    for context_id in ids:
        key = context_hash(context_id)
        if key == 0 or key in hashes:
            raise SourceError(f"context id {context_id} clashes with {hashes.get(key, 'the contents')}")
        hashes[key] = context_id
    titles = [topic[1] for topic in topics]
    if len(set(titles)) != len(titles):
        raise SourceError("two topics have the same title")  # the index lists topics by title
    for text in [title] + titles:
        encode(text, language)
    for _, _, paragraphs in topics:
        for line in (line for lines in paragraphs for line in lines):
            encode(line, language)
            for target, _ in JUMP.findall(line):
                if target not in ids:
                    raise SourceError(f"jump to unknown topic {target}")
            if "[[" in JUMP.sub("", line):
                raise SourceError(f"malformed jump in: {line}")


def encode(text, language):
    code_page = CODE_PAGES[language]
    try:
        return text.encode(code_page)
    except UnicodeEncodeError as error:
        raise SourceError(f"not in code page {code_page[2:]}: {text!r}") from error
