#!/usr/bin/env python3
"""Writes the help from one source (Japanese or English) twice: as the WinHelp file the
Help button opens and as an HTML page for systems without a viewer for it.

usage: make_help.py <source> <help file> <help page>

One parse feeds both writers, and nothing is written unless both succeed,
so a source one of them refuses yields neither file.
"""
import sys

import help_page
import help_source
import hlp_file


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    with open(argv[1], encoding="utf-8") as source:
        text = source.read()
    try:
        help_text = help_source.parse(text)
        outputs = [(argv[2], hlp_file.build(help_text)),
                   (argv[3], help_page.build(help_text).encode("utf-8"))]
    except help_source.SourceError as error:
        sys.exit(f"{argv[1]}: {error}")
    for path, data in outputs:
        with open(path, "wb") as output:
            output.write(data)


if __name__ == "__main__":
    main(sys.argv)
