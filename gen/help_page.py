"""Writes the help as one HTML page (quimbel_help.html, quimbel_help_en.html)
from a help source as help_source.parse returns it, for systems with no viewer for the help
file: every topic in order, each an anchor named by its context id, the
jumps as links to those anchors. Titles and lines are written as they
stand in the source; the page is UTF-8 and says so, and names its language
so a browser picks fonts for it.
"""
from html import escape

from help_source import pieces

FONT_FAMILIES = {
    "ja": '"Yu Gothic UI", "Meiryo", "MS PGothic", "Ume P Gothic", sans-serif',
    "en": '"Segoe UI", Tahoma, Arial, sans-serif',
}
STYLE = """\
body { font-family: %s;
       max-width: 46em; margin: 1em auto; padding: 0 1em; line-height: 1.6; }
h2 { margin-top: 2em; border-bottom: 1px solid #ccc; }
p { white-space: pre-wrap; }"""


def line_html(line):
    return "".join(escape(text) if target is None else f'<a href="#{target}">{escape(text)}</a>'
                   for text, target in pieces(line))


def build(help_text):
    """The page's text."""
    title, topics = help_text.title, help_text.topics
    style = STYLE % FONT_FAMILIES[help_text.language]
    out = ["<!DOCTYPE html>", f'<html lang="{help_text.language}">', "<head>", '<meta charset="utf-8">',
           f"<title>{escape(title)}</title>", f"<style>\n{style}\n</style>", "</head>", "<body>",
           f"<h1>{escape(title)}</h1>"]
    for context_id, topic_title, paragraphs in topics:
        out.append(f'<section id="{context_id}">')
        out.append(f"<h2>{escape(topic_title)}</h2>")
        # One source line, one line of the page: no breaks of the page's own.
        out += ["<p>" + "<br>".join(line_html(line) for line in lines) + "</p>" for lines in paragraphs]
        out.append("</section>")
    out += ["</body>", "</html>", ""]
    return "\n".join(out)
