#!/usr/bin/env python3
"""Builds the glyph fonts HQPB1..HQPB5 from the slot list the data tool writes.

Every slot becomes one glyph: the source font's outline (components resolved) moved by the slot's
offset, with the slot's advance. The glyphs are reached through a symbol character map only
(platform 3, encoding 0, U+F000 + code, and the single-byte Macintosh map), the way a SYMBOL
field reaches a symbol font. The fonts carry no layout tables: they are drawn glyph by glyph.

The source font is under the SIL Open Font License 1.1. Its reserved font name is not used for
the derived fonts; its copyright notice and the licence go into every font's name table and
into OFL.txt beside the fonts.

usage: build_fonts.py --slots <slot list> --source-font <ttf> --license <OFL text>
                      --out <dir>
"""
import argparse
import sys
from pathlib import Path

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont, newTable
from fontTools.ttLib.tables._c_m_a_p import cmap_classes

FONT_COUNT = 5
SYMBOL_BASE = 0xF000
VERSION = "1.000"
RESERVED_NAME = "Amiri"


class BuildError(Exception):
    pass


def read_slots(path):
    lines = Path(path).read_text(encoding="utf-8").splitlines()
    if not lines or not lines[0].startswith("units-per-em\t"):
        raise BuildError(f"{path}: no units-per-em line")
    upem = int(lines[0].split("\t")[1])
    fonts = {n: [] for n in range(1, FONT_COUNT + 1)}
    for number, line in enumerate(lines[1:], start=2):
        parts = line.split("\t")
        if len(parts) != 6:
            raise BuildError(f"{path}:{number}: expected 6 fields")
        font, code, name, advance, dx, dy = parts
        font, code = int(font), int(code)
        if font not in fonts or not 0x21 <= code <= 0xFF:
            raise BuildError(f"{path}:{number}: no such slot {font}/{code}")
        if any(slot[0] == code for slot in fonts[font]):
            raise BuildError(f"{path}:{number}: slot {font}/{code} given twice")
        fonts[font].append((code, name, int(advance), int(dx), int(dy)))
    return upem, fonts


def licence_text(path):
    text = Path(path).read_text(encoding="utf-8")
    if "SIL OPEN FONT LICENSE Version 1.1" not in text:
        raise BuildError(f"{path} is not the SIL Open Font License 1.1")
    return text


def source_name(font, name_id):
    record = font["name"].getName(name_id, 3, 1, 0x409)
    if record is None:
        raise BuildError(f"the source font has no name {name_id}")
    return str(record)


def outline(glyph_set, name, dx, dy):
    if name not in glyph_set:
        raise BuildError(f"the source font has no glyph {name}")
    recording = DecomposingRecordingPen(glyph_set)
    glyph_set[name].draw(recording)
    pen = TTGlyphPen(None)
    recording.replay(TransformPen(pen, (1, 0, 0, 1, dx, dy)))
    return pen.glyph()


def symbol_cmap(mapping):
    windows = cmap_classes[4](4)
    windows.platformID, windows.platEncID, windows.language = 3, 0, 0
    windows.cmap = {SYMBOL_BASE + code: name for code, name in mapping.items()}
    mac = cmap_classes[0](0)
    mac.platformID, mac.platEncID, mac.language = 1, 0, 0
    mac.cmap = dict(mapping)
    table = newTable("cmap")
    table.tableVersion = 0
    table.tables = [mac, windows]
    return table


def build_font(number, slots, source, upem, copyright_notice):
    family = f"HQPB{number}"
    glyph_set = source.getGlyphSet()
    source_metrics = source["hmtx"].metrics
    order = [".notdef", "space"]
    glyphs = {".notdef": outline(glyph_set, ".notdef", 0, 0), "space": outline(glyph_set, "space", 0, 0)}
    advances = {".notdef": source_metrics[".notdef"][0], "space": source_metrics["space"][0]}
    mapping = {0x20: "space"}
    for code, name, advance, dx, dy in slots:
        # The source glyph's name stays in the slot's name: a reader can tell which glyph it draws.
        slot_name = f"c{code:03d}.{name}"[:63]
        order.append(slot_name)
        glyphs[slot_name] = outline(glyph_set, name, dx, dy)
        advances[slot_name] = advance
        mapping[code] = slot_name

    builder = FontBuilder(upem, isTTF=True)
    builder.setupGlyphOrder(order)
    builder.font["cmap"] = symbol_cmap(mapping)
    builder.setupGlyf(glyphs)
    glyf = builder.font["glyf"]
    metrics = {}
    for name in order:
        glyph = glyf[name]
        glyph.recalcBounds(glyf)
        metrics[name] = (advances[name], getattr(glyph, "xMin", 0))
    builder.setupHorizontalMetrics(metrics)
    src_hhea, src_os2 = source["hhea"], source["OS/2"]
    y_max = max([getattr(glyf[n], "yMax", 0) for n in order] + [src_os2.usWinAscent])
    y_min = min([getattr(glyf[n], "yMin", 0) for n in order] + [-src_os2.usWinDescent])
    builder.setupHorizontalHeader(ascent=src_hhea.ascent, descent=src_hhea.descent, lineGap=src_hhea.lineGap)
    description = (f"{family} draws the glyphs of the Quran text in Mushaf style, one glyph per code, "
                   f"derived from the font Amiri Quran {source_name(source, 5).removeprefix('Version ')}.")
    builder.setupNameTable({
        "copyright": copyright_notice,
        "familyName": family,
        "styleName": "Regular",
        "uniqueFontIdentifier": f"{VERSION};{family}-Regular",
        "fullName": family,
        "version": f"Version {VERSION}",
        "psName": f"{family}-Regular",
        "description": description,
        "licenseDescription": source_name(source, 13),
        "licenseInfoURL": source_name(source, 14),
    }, mac=False)
    builder.setupOS2(
        version=4,
        achVendID="QVRS",
        usWeightClass=400,
        fsType=0,
        fsSelection=0x40,
        sTypoAscender=src_os2.sTypoAscender,
        sTypoDescender=src_os2.sTypoDescender,
        sTypoLineGap=src_os2.sTypoLineGap,
        usWinAscent=max(y_max, 0),
        usWinDescent=max(-y_min, 0),
        ulUnicodeRange1=0, ulUnicodeRange2=0, ulUnicodeRange3=0, ulUnicodeRange4=0,
        ulCodePageRange1=1 << 31,  # symbol character set
        ulCodePageRange2=0,
        usFirstCharIndex=SYMBOL_BASE + min(mapping),
        usLastCharIndex=SYMBOL_BASE + max(mapping),
    )
    builder.setupPost(keepGlyphNames=True)
    builder.font["head"].fontRevision = float(VERSION)
    return builder.font


def check_names(font, family):
    for name_id in (1, 4, 6, 16, 17):
        record = font["name"].getName(name_id, 3, 1, 0x409)
        if record is not None and RESERVED_NAME.lower() in str(record).lower():
            raise BuildError(f"{family}: name {name_id} uses the reserved font name")


def main():
    parser = argparse.ArgumentParser(description="Builds the glyph fonts HQPB1..HQPB5")
    parser.add_argument("--slots", required=True)
    parser.add_argument("--source-font", required=True)
    parser.add_argument("--license", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    upem, fonts = read_slots(args.slots)
    source = TTFont(args.source_font)
    if source["head"].unitsPerEm != upem:
        raise BuildError("the slot list was made for another source font")
    licence = licence_text(args.license)
    copyright_notice = source_name(source, 0)
    out = Path(args.out)
    out.mkdir(parents=True, exist_ok=True)
    for number in range(1, FONT_COUNT + 1):
        font = build_font(number, fonts[number], source, upem, copyright_notice)
        check_names(font, f"HQPB{number}")
        target = out / f"HQPB{number}.ttf"
        temporary = target.with_suffix(".tmp")
        font.save(temporary)
        temporary.replace(target)
        print(f"  HQPB{number}.ttf  {len(fonts[number])} glyph slots")
    (out / "OFL.txt").write_text(
        f"HQPB1 to HQPB5 are derived from Amiri Quran.\n\n{copyright_notice}\n\n"
        "The fonts are licensed under the SIL Open Font License, Version 1.1, as is the font they are "
        "derived from.\n\n" + licence, encoding="utf-8")


if __name__ == "__main__":
    try:
        main()
    except (BuildError, OSError, KeyError, ValueError) as error:
        print(f"build_fonts: error: {error}", file=sys.stderr)
        sys.exit(1)
