#!/usr/bin/env bash
# Makes a print server available to the printing tests: starts cupsd when it is not running
# and adds two queues when they are missing:
#   TallymanPDF   cups-pdf ("cups-pdf:/"): every job becomes a PDF file in the job owner's
#                 PDF folder, by default ~/PDF of the owner's passwd entry (see the "Out" line of
#                 /etc/cups/cups-pdf.conf; jobs of unknown users go to /var/spool/cups-pdf/ANONYMOUS)
#   TallymanNull  a colour laser description with paper trays and colour modes whose jobs go to
#                 /dev/null, so that tests have a second printer that prints nothing
# TallymanPDF becomes the server's default destination only when the server has none, so a
# machine with a real default printer keeps it. Idempotent and quick; safe to run again.
# Without root (or password-less sudo) nothing is started and the printing tests skip.
set -uo pipefail
export LC_ALL=C

say() { echo "start-cups: $*"; }

if ! command -v cupsd >/dev/null 2>&1 || ! command -v lpadmin >/dev/null 2>&1; then
    say "cupsd or lpadmin not installed; the printing tests will skip"
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if sudo -n true 2>/dev/null; then
        as_root=(sudo -n)
    else
        no_root=1
    fi
fi

running() { lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }

if ! running; then
    if [ -n "${no_root:-}" ]; then
        say "no print server running and no root rights to start one; the printing tests will skip"
        exit 0
    fi
    "${as_root[@]}" mkdir -p /run/cups /var/spool/cups /var/cache/cups /var/log/cups
    # cupsd puts itself in the background once it listens.
    if ! "${as_root[@]}" cupsd; then
        say "cupsd did not start; the printing tests will skip"
        exit 0
    fi
    for _ in $(seq 1 50); do
        running && break
        sleep 0.1
    done
    if ! running; then
        say "cupsd started but does not answer; the printing tests will skip"
        exit 0
    fi
fi

has_queue() { lpstat -v "$1" >/dev/null 2>&1; }

add_queue() { # name uri ppd
    local name=$1 uri=$2 ppd=$3
    if ! has_queue "$name"; then
        if [ ! -f "$ppd" ]; then
            say "$ppd is missing; queue $name not added"
            return 1
        fi
        # Without root this works only for members of the print administrators' group.
        if ! "${as_root[@]}" lpadmin -p "$name" -v "$uri" -P "$ppd" 2>/dev/null; then
            say "could not add queue $name; tests that need it will skip"
            return 1
        fi
    fi
    # A queue stopped by an earlier failed job would hold every new job back.
    "${as_root[@]}" cupsenable "$name" 2>/dev/null
    "${as_root[@]}" cupsaccept "$name" 2>/dev/null
    return 0
}

# PDF jobs reach cups-pdf as PostScript; the cairo renderer keeps their text searchable.
add_queue TallymanPDF cups-pdf:/ /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd &&
    "${as_root[@]}" lpadmin -p TallymanPDF -o pdftops-renderer-default=pdftocairo 2>/dev/null
add_queue TallymanNull file:/dev/null /usr/share/ppd/cupsfilters/pxlcolor.ppd

if lpstat -d 2>/dev/null | grep -q '^no system default destination' && has_queue TallymanPDF; then
    "${as_root[@]}" lpadmin -d TallymanPDF 2>/dev/null
fi

say "$(lpstat -d 2>/dev/null); queues: $(lpstat -e 2>/dev/null | tr '\n' ' ')"
exit 0
