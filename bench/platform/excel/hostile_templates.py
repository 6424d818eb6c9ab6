#!/usr/bin/env python3
"""Makes templates that are large within the bounds of a template's reading, each in a
folder given as the first argument, and with --run measures filling and printing each one
through bench_platform_excel_hostile under /usr/bin/time -v: wall time, peak memory, and
what the fill said."""
import os
import signal
import subprocess
import sys
import zipfile

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"
CT = "http://schemas.openxmlformats.org/package/2006/content-types"
CALC = "application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml"
SHEET_T = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"
MIB = 1 << 20
# A case that takes longer is ended and said to.
LIMIT = 200


def sheet_xml(extra=""):
    return ('<worksheet xmlns="%s"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>Titel'
            '</t></is></c></row></sheetData></worksheet>%s' % (MAIN, extra))


def package(path, sheets=None, workbook_rels="", overrides="", defaults="", parts=None,
            reverse=False):
    """A template: `sheets` pairs of (name, part), `workbook_rels` more relationships of the
    workbook, `overrides` and `defaults` more content types, `parts` more parts by name."""
    sheets = sheets or [("Bericht", "worksheets/sheet1.xml")]
    rels = ['<Relationship Id="s%d" Type="%s/worksheet" Target="%s"/>' % (i, REL, part)
            for i, (_, part) in enumerate(sheets)]
    if reverse:
        rels.reverse()
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml",
                   '<Types xmlns="%s"><Default Extension="xml" ContentType="application/xml"/>'
                   '<Default Extension="rels" ContentType="application/vnd.openxmlformats-'
                   'package.relationships+xml"/>%s<Override PartName="/xl/workbook.xml" '
                   'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.'
                   'sheet.main+xml"/>%s</Types>' % (CT, defaults, overrides))
        z.writestr("_rels/.rels", '<Relationships xmlns="%s"><Relationship Id="r1" Type="%s/'
                   'officeDocument" Target="xl/workbook.xml"/></Relationships>' % (PKG, REL))
        z.writestr("xl/workbook.xml", '<workbook xmlns="%s" xmlns:r="%s"><sheets>%s</sheets>'
                   '</workbook>' % (MAIN, REL, "".join(
                       '<sheet name="%s" sheetId="%d" r:id="s%d"/>' % (name, i + 1, i)
                       for i, (name, _) in enumerate(sheets))))
        z.writestr("xl/_rels/workbook.xml.rels", '<Relationships xmlns="%s">%s%s'
                   '</Relationships>' % (PKG, "".join(rels), workbook_rels))
        z.writestr("xl/styles.xml", '<styleSheet xmlns="%s"><fonts count="1"><font><name '
                   'val="Calibri"/></font></fonts><cellXfs count="1"><xf numFmtId="0"/>'
                   '</cellXfs></styleSheet>' % MAIN)
        for part in sorted({part for _, part in sheets}):
            z.writestr("xl/" + part, (parts or {}).pop("xl/" + part, sheet_xml()))
        for name, data in (parts or {}).items():
            z.writestr(name, data)


def rels_of_4mib():
    one = '<Relationship Id="i" Type="t" Target="/b"/>'
    head = '<Relationships xmlns="%s">' % PKG
    count = (4 * MIB - len(head) - 20) // len(one)
    return head + one * count + "</Relationships>", count


def cases(folder):
    made = {}

    def case(name, **kw):
        path = os.path.join(folder, name + ".xltx")
        package(path, **kw)
        made[name] = path

    rels, per = rels_of_4mib()
    many = {"b": "x"}
    for i in range(30):
        many["xl/media/p%d.bin" % i] = "x"
        many["xl/media/_rels/p%d.bin.rels" % i] = rels
    many["xl/worksheets/_rels/sheet1.xml.rels"] = rels
    case("rels-31x4MiB-%dk" % (31 * per // 1000), parts=many)
    # The most relationships a template may hold, in one part of 4 MiB.
    near = {"b": "x", "xl/worksheets/_rels/sheet1.xml.rels":
            '<Relationships xmlns="%s">%s</Relationships>' % (
                PKG, "".join('<Relationship Id="i%d" Type="t" Target="/b"/>' % i
                             for i in range(99990)))}
    case("rels-99990-in-one-part", parts=near)
    for n in (49000, 60000, 200000):
        case("calcchain-x-overrides-%dk" % (n // 1000),
             workbook_rels="".join('<Relationship Id="c%d" Type="%s/calcChain" Target="c%d.xml"/>'
                                   % (i, REL, i) for i in range(n)),
             overrides="".join('<Override PartName="/xl/c%d.xml" ContentType="%s"/>' % (i, CALC)
                               for i in range(n)),
             parts={"xl/c%d.xml" % i: "<calcChain/>" for i in range(n)})
    n = 3000
    case("defaults-x-parts-x-overrides-3k",
         defaults="".join('<Default Extension="e%d" ContentType="%s"/>' % (i, CALC)
                          for i in range(n)),
         overrides="".join('<Override PartName="/xl/o%d.xml" ContentType="%s"/>' % (i, CALC)
                           for i in range(n)),
         workbook_rels='<Relationship Id="c" Type="%s/calcChain" Target="o0.xml"/>' % REL,
         parts=dict([("xl/p%d.e%d" % (i, i), "x") for i in range(n)] +
                    [("xl/o%d.xml" % i, "<calcChain/>") for i in range(n)]))
    case("sheets-10k-reversed",
         sheets=[("S%d" % i, "worksheets/sheet%d.xml" % (i + 1)) for i in range(10000)],
         reverse=True)
    case("sheets-60k-reversed",
         sheets=[("S%d" % i, "worksheets/sheet%d.xml" % (i + 1)) for i in range(60000)],
         reverse=True)
    rows = "".join('<row r="%d"><c r="B%d"><v>%d</v></c></row>' % (r, r, r) for r in range(2, 90000))
    big = sheet_xml()[:-len("</sheetData></worksheet>")] + rows
    big = big[:4 * MIB - 30] if len(big) > 4 * MIB - 30 else big
    big = big[:big.rfind("<row")] + "</sheetData></worksheet>"
    case("sheets-2-one-4MiB-part",
         sheets=[("S%d" % i, "worksheets/sheet1.xml") for i in range(2)],
         parts={"xl/worksheets/sheet1.xml": big})
    case("sheets-20k-one-4MiB-part",
         sheets=[("S%d" % i, "worksheets/sheet1.xml") for i in range(20000)],
         parts={"xl/worksheets/sheet1.xml": big})
    for mib in (256, 1024):
        case("unnamed-sheet9-%dMiB" % mib,
             parts={"xl/worksheets/sheet9.xml": sheet_xml(" " * (mib * MIB))})
    return made


def run(made, bench):
    print("nproc %s, load %s" % (os.cpu_count(), open("/proc/loadavg").read().split()[:3]))
    for name, path in made.items():
        env = dict(os.environ, TV_TEMPLATE=path)
        # In a session of its own, so that a case that runs too long ends with its measure.
        child = subprocess.Popen(["/usr/bin/time", "-v", bench, "--benchmark_format=console"],
                                 env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                 text=True, start_new_session=True)
        try:
            stdout, stderr = child.communicate(timeout=LIMIT)
            out = subprocess.CompletedProcess(child.args, child.returncode, stdout, stderr)
        except subprocess.TimeoutExpired:
            os.killpg(child.pid, signal.SIGKILL)
            child.communicate()
            print("%-36s %8s KB packed  more than %d s" % (name, os.path.getsize(path) // 1024,
                                                            LIMIT))
            continue
        peak = wall = "?"
        for line in out.stderr.splitlines():
            if "Maximum resident set size" in line:
                peak = "%d MB" % (int(line.split()[-1]) // 1024)
            if "Elapsed (wall clock)" in line:
                wall = line.split()[-1]
        said = [l for l in out.stdout.splitlines() if "BM_" in l]
        print("%-36s %8s KB packed  %10s  %8s  %s" % (name, os.path.getsize(path) // 1024, wall,
                                                     peak, said[0][60:] if said else out.stderr[-200:]))


if __name__ == "__main__":
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    made = cases(folder)
    if "--run" in sys.argv:
        run(made, sys.argv[sys.argv.index("--run") + 1])
