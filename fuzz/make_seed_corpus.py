#!/usr/bin/env python3
"""Writes the committed seed corpus fuzz/corpus/<target>/ from the examples.

Each seed is the input layout that its target reads (see the comment at the
top of each *_fuzzer.cc): a few small fragments of the example PPDs, the
whole examples where a target needs a complete PPD, and variants that reach
the rules (model numbers, colour, CR LF line ends, a multi-line value).
Run it again after changing the examples; it replaces the seed directories.
"""
import pathlib
import re
import shutil

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"

mono = (ROOT / "examples" / "mono13.ppd").read_bytes()
color = (ROOT / "examples" / "color-laser.ppd").read_bytes()


def lines_between(text, first, last):
    """The lines from the one starting with `first` through the one starting with `last`."""
    lines = text.splitlines(keepends=True)
    start = next(i for i, l in enumerate(lines) if l.startswith(first))
    end = next(i for i in range(start, len(lines)) if lines[i].startswith(last))
    return b"".join(lines[start:end + 1])


header = b"".join(mono.splitlines(keepends=True)[:38])
page_size = lines_between(mono, b"*OpenUI *PageSize", b"*CloseUI: *PageSize")
duplex = lines_between(mono, b"*OpenUI *Duplex", b"*CloseUI: *Duplex")
constraints = lines_between(mono, b"*% Duplex is not possible", b"*UIConstraints: *PageSize EnvMonarch *Duplex DuplexTumble")
translations = b"".join(l for l in color.splitlines(keepends=True)
                        if re.match(rb"\*(fr|de|ja)\.(PageSize|Duplex)", l))
crlf = page_size.replace(b"\n", b"\r\n")
mixed = b"*DefaultPageSize: A4\r*PageSize A4/A4: \"x\"\r\n*PageSize B5/B5: \"y\"\n*fr.PageSize B5/B5: \"\""
auto_setup = b"*QzAutoSetup: True\n*QzAutoSetupOptions: \"\n  Duplex\n\"\n*End\n"


def model(text, number=None, colour=None):
    if number is not None:
        text = re.sub(rb"\*cupsModelNumber: \d+", b"*cupsModelNumber: %d" % number, text)
    if colour is not None:
        text = re.sub(rb"\*ColorDevice: \w+", b"*ColorDevice: " + colour, text)
    return text


seeds = {
    "decode": {
        "header": header,
        "translations": translations,
        "crlf": crlf,
        "overlong": b"*PPD-Adobe: \"4.3\"\n\xc0\xaf\n",
        "surrogate": b"*fr.PageSize A4/\xed\xa0\x80: \"\"\n",
        "truncated": b"*ja.PageSize A4/\xe3\x81",
        "zero": b"*PPD-Adobe:\x00\n",
    },
    "read_file": {
        "plain": b"\x00\x00" + header,
        "plain-limit": b"\x00\x05" + page_size,
        "gzip": b"\x01\x06" + header,
        "gzip-chunks": b"\x01\xc6" + mono,
        "gzip-cut": b"\x02\xf0" + page_size,
        "gzip-flip": b"\x03\x21" + page_size,
    },
    "delete_option": {
        "pagesize": b"PageSize\x00EnvC5\x00" + page_size + constraints + translations,
        "multiline": b"PageSize\x00EnvChou4\x00" + page_size,
        "duplex": b"Duplex\x00DuplexTumble\x00" + duplex + constraints,
        "crlf": b"PageSize\x00Legal\x00" + crlf,
        "mixed": b"PageSize\x00B5\x00" + mixed,
    },
    "delete_paper_size": {
        "mono": b"B5\x1fEnvC5\x1fA4\x1fEnvChou4\x00" + mono,
        "fragment": b"Legal\x1fEnv10\x00" + page_size + constraints,
        "mixed": b"B5\x1fA4\x00" + mixed,
    },
    "delete_lines": {
        "envelopes": b"EnvC5\x1fEnvDL\x1fEnv10\x1fEnvMonarch\x00" + page_size + constraints,
        "japanese": b"EnvYou4\x1fEnvChou3\x1fEnvChou4\x1fEnvKaku2\x00" + page_size + auto_setup,
        "crlf": b"Env10\x00" + crlf + auto_setup.replace(b"\n", b"\r\n"),
    },
    "comment_out": {
        "pagesize": b"PageSize\x00Letter\x00" + page_size + translations,
        "duplex": b"Duplex\x00DuplexTumble\x00" + duplex + translations,
        "mixed": b"PageSize\x00B5\x00" + mixed,
    },
    "change_default": {
        "duplex": b"Duplex\x00DuplexNoTumble\x00" + header + duplex,
        "country": b"ISOCountryCode\x00DE\x00" + header,
        "vendor": b"ISOCountryCode\x00TW\x00*DefaultQZISOCountryCode: \"\n  JP\n\"\n*End\n" + duplex,
        "crlf": b"PageSize\x00Letter\x00" + crlf,
    },
    "edits_differential": {
        "japan": b"Executive\x1f3x5\x1fEnv10\x1fEnvDL\x1fEnvC5\x1fEnvMonarch\x00PageSize\x00" + mono,
        "fragment": b"B5\x1fA4\x1fEnvChou4\x00PageRegion\x00" + page_size + constraints + translations,
        "mixed": b"B5\x1fA4\x00PageSize\x00" + mixed,
        "crlf": b"Legal\x1fEnv10\x00ImageableArea\x00" + crlf,
    },
    "localize": {
        "mono13-tw": b"\x02\x00" + mono,
        "mono12-de": b"\x05\x00" + model(mono, 12),
        "mono13-cn-crlf": b"\x01\x00" + mono.replace(b"\n", b"\r\n"),
        "color-jp": b"\x00\x00" + color,
        "color-none": b"\x07\x00" + model(color, 22),
        "ink15-kr": b"\x03\x04" + model(mono, 15),
        "ink14-jp": b"\x00\x04" + model(mono, 14),
        "ink14-us": b"\x06\x04" + model(mono, 14),
        "sink2-hk": b"\x04\x05" + model(mono, 2),
        "mono-as-color": b"\x05\x00" + model(mono, 13, b"True"),
    },
}

for target, files in seeds.items():
    directory = CORPUS / target
    shutil.rmtree(directory, ignore_errors=True)
    directory.mkdir(parents=True)
    for name, data in files.items():
        (directory / name).write_bytes(data)
