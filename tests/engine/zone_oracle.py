#!/usr/bin/env python3
"""Answers time-zone questions from the system's zone data through Python's zoneinfo, apart
from the code under test (which reads the same files through another library).

One question a line on stdin, one answer a line on stdout. Times are whole seconds: an
instant counts from 1970-01-01 00:00 UTC, a wall-clock time of a zone from 1970-01-01 00:00
on that zone's clock.

  I <zone> <wall>        the instant of a wall-clock time; a time the zone repeats gives the
                         earlier instant, one it skips is read with the offset from before
                         the change (fold=0)
  W <zone> <instant>     the wall-clock time of an instant
  C <zone> <from> <to>   the instants in [from, to) where the zone's offset changes
  S <zone> <from> <to>   the offset at from, then "instant:offset" at each change before to
  N                      every zone name the zone data holds, space-separated

A zone the zone data does not hold is answered with "?".
"""

import datetime as dt
import sys
import zoneinfo

EPOCH = dt.datetime(1970, 1, 1)
UTC = dt.timezone.utc
STEP = 12 * 3600  # changes lie further apart than this
zones = {}


def zone(name):
    if name not in zones:
        try:
            zones[name] = zoneinfo.ZoneInfo(name)
        except (zoneinfo.ZoneInfoNotFoundError, ValueError):
            zones[name] = None
    return zones[name]


def offset(z, instant):
    return int(dt.datetime.fromtimestamp(instant, z).utcoffset().total_seconds())


def instant_of(z, wall):
    local = (EPOCH + dt.timedelta(seconds=wall)).replace(tzinfo=z, fold=0)
    return int(local.timestamp())


def wall_of(z, instant):
    local = dt.datetime.fromtimestamp(instant, z).replace(tzinfo=None)
    return int((local - EPOCH).total_seconds())


def changes(z, start, end):
    found = []
    t = start
    before = offset(z, t)
    while t < end - 1:
        nxt = min(t + STEP, end - 1)
        if offset(z, nxt) != before:
            lo, hi = t, nxt  # offset(lo) == before, offset(hi) != before
            while hi - lo > 1:
                mid = (lo + hi) // 2
                if offset(z, mid) == before:
                    lo = mid
                else:
                    hi = mid
            found.append((hi, offset(z, hi)))
            before = offset(z, hi)
            t = hi
            continue
        t = nxt
    return found


def answer(words):
    if words[0] == "N":
        return " ".join(sorted(zoneinfo.available_timezones()))
    z = zone(words[1])
    if z is None:
        return "?"
    if words[0] == "I":
        return str(instant_of(z, int(words[2])))
    if words[0] == "W":
        return str(wall_of(z, int(words[2])))
    start, end = int(words[2]), int(words[3])
    found = changes(z, start, end)
    if words[0] == "C":
        return " ".join(str(t) for t, _ in found)
    return " ".join([str(offset(z, start))] + ["%d:%d" % change for change in found])


def main():
    out = []
    for line in sys.stdin:
        words = line.split()
        if words:
            out.append(answer(words))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
