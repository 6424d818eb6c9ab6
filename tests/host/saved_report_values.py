"""The values of a saved report as a reader of its own sees them, one a line.

Usage: saved_report_values.py FILE...

Workbook packages (.xlsx, .xlsm) are read with the standard library's zip and XML readers:
every number as Python's float() reads it (a decimal comma is no number and ends the run with
an error), dates of date-formatted cells as ISO text, column widths, row heights, page
margins and page setup, and a digest of each part but the document's properties (which hold
the time of the save). Binary workbooks (.xls) through xlrd: cells with their types, dates as
ISO text, column widths. Delimited text by its rows, pages by their texts and the sizes in their
styles. Each file but a package also by a digest of its bytes.
"""

import csv
import datetime
import hashlib
import html.parser
import re
import sys
import zipfile
import xml.etree.ElementTree as ET

MAIN = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
BUILT_IN_DATE_FORMATS = set(range(14, 23)) | set(range(45, 48))
EPOCH = datetime.datetime(1899, 12, 30)


def number(text, where):
    try:
        return repr(float(text))
    except ValueError:
        raise SystemExit("not a number in C notation at %s: %r" % (where, text))


def iso(serial):
    return (EPOCH + datetime.timedelta(days=serial)).isoformat(timespec="seconds")


def date_styles(package):
    """The indices of the cell formats that show a date or a time."""
    if "xl/styles.xml" not in package.namelist():
        return set()
    root = ET.fromstring(package.read("xl/styles.xml"))
    custom = {}
    for fmt in root.iter(MAIN + "numFmt"):
        code = re.sub(r'"[^"]*"|\[[^\]]*\]|\\.', "", fmt.get("formatCode", ""))
        custom[int(fmt.get("numFmtId"))] = bool(re.search(r"[dmyhs]", code, re.I))
    styles = set()
    xfs = root.find(MAIN + "cellXfs")
    for index, xf in enumerate(xfs if xfs is not None else []):
        fmt = int(xf.get("numFmtId", "0"))
        if fmt in BUILT_IN_DATE_FORMATS or custom.get(fmt, False):
            styles.add(index)
    return styles


def package_values(name, out):
    package = zipfile.ZipFile(name)
    strings = []
    if "xl/sharedStrings.xml" in package.namelist():
        root = ET.fromstring(package.read("xl/sharedStrings.xml"))
        strings = ["".join(t.text or "" for t in si.iter(MAIN + "t")) for si in root]
    dates = date_styles(package)
    for part in sorted(package.namelist()):
        if not part.startswith("docProps/"):
            out.append("part %s %s" % (part, hashlib.sha256(package.read(part)).hexdigest()))
        if not re.match(r"xl/worksheets/[^/]+\.xml$", part):
            continue
        root = ET.fromstring(package.read(part))
        for col in root.iter(MAIN + "col"):
            out.append("%s column %s-%s width %s" % (part, col.get("min"), col.get("max"),
                                                      number(col.get("width"), part)))
        for fmt in root.iter(MAIN + "sheetFormatPr"):
            for key, value in sorted(fmt.attrib.items()):
                if key in ("defaultRowHeight", "defaultColWidth", "baseColWidth"):
                    out.append("%s %s %s" % (part, key, number(value, part)))
        for row in root.iter(MAIN + "row"):
            if row.get("ht") is not None:
                out.append("%s row %s height %s" % (part, row.get("r"),
                                                    number(row.get("ht"), part)))
        for cell in root.iter(MAIN + "c"):
            ref, kind, value = cell.get("r"), cell.get("t", "n"), cell.find(MAIN + "v")
            text = value.text if value is not None else None
            if kind == "s" and text is not None:
                out.append("%s %s text %r" % (part, ref, strings[int(text)]))
            elif kind == "n" and text is not None:
                serial = number(text, part + " " + ref)
                if int(cell.get("s", "0")) in dates:
                    out.append("%s %s date %s" % (part, ref, iso(float(text))))
                else:
                    out.append("%s %s number %s" % (part, ref, serial))
            elif kind == "inlineStr":
                out.append("%s %s text %r" % (part, ref,
                                              "".join(t.text or "" for t in cell.iter(MAIN + "t"))))
            elif text is not None:
                out.append("%s %s %s %r" % (part, ref, kind, text))
        for margins in root.iter(MAIN + "pageMargins"):
            for key, value in sorted(margins.attrib.items()):
                out.append("%s margin %s %s" % (part, key, number(value, part)))
        for setup in root.iter(MAIN + "pageSetup"):
            for key, value in sorted(setup.attrib.items()):
                out.append("%s page %s %r" % (part, key, value))


def binary_values(name, out):
    import xlrd

    book = xlrd.open_workbook(name, formatting_info=True)
    for sheet in book.sheets():
        for col, info in sorted(sheet.colinfo_map.items()):
            out.append("%s column %d width %d" % (sheet.name, col, info.width))
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_DATE:
                    value = iso(cell.value)
                elif cell.ctype == xlrd.XL_CELL_NUMBER:
                    value = repr(cell.value)
                else:
                    value = repr(cell.value)
                out.append("%s %d,%d %d %s" % (sheet.name, r, c, cell.ctype, value))


def text_values(name, out):
    with open(name, newline="", encoding="utf-8-sig") as f:
        for row in csv.reader(f, delimiter=";"):
            out.append("row %r" % row)


class Page(html.parser.HTMLParser):
    """The texts of a page's cells and the sizes its styles give."""

    def __init__(self, out):
        super().__init__()
        self.out = out

    def handle_starttag(self, tag, attrs):
        for key, value in attrs:
            if key in ("style", "width") and value and re.search(r"\d", value):
                self.out.append("%s %s %r" % (tag, key, value))

    def handle_data(self, data):
        if data.strip():
            self.out.append("text %r" % data.strip())


def page_values(name, out):
    with open(name, encoding="utf-8", errors="replace") as f:
        Page(out).feed(f.read())


def main():
    for name in sys.argv[1:]:
        out = []
        lower = name.lower()
        if lower.endswith((".xlsx", ".xlsm")):
            # The package's entries carry the time of the save: its parts are compared.
            package_values(name, out)
        else:
            if lower.endswith(".xls"):
                binary_values(name, out)
            elif lower.endswith(".csv"):
                text_values(name, out)
            else:
                page_values(name, out)
            with open(name, "rb") as f:
                out.append("bytes %s" % hashlib.sha256(f.read()).hexdigest())
        for line in out:
            print(line)


main()
