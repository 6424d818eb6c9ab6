#!/usr/bin/env python3
"""Expected rows of series whose store records no zone, read in given zones.

Such a series stands on the reader's clock: each occurrence starts at its pattern's wall-clock
time in the reader's zone and lasts the pattern's Duration on that clock. The occurrences are
computed here from the pattern alone (the standard library's calendar arithmetic); the zones'
rules come from the system's zone data through zoneinfo, to refuse a series that would put a
time into a gap of a reader's zone (which this table does not decide).

Input (a file named by the first argument), one record a line, fields split by tabs:
  S subject type interval mask day_of_month month_of_year instance start minute duration
    end_kind end deleted
      end_kind 0 never, 1 by date (end: the last day), 2 by count (end: the count);
      deleted: days without their occurrence, joined by ",", or "-"
  R zone
  W first_day last_day
Days are YYYY-MM-DD. Output: one line a row read,
  E zone window field subject start end duration
with field "start" or "end", window the 0-based index of the W line, times YYYY-MM-DD HH:MM.
"""

import calendar
import datetime as dt
import sys
import zoneinfo

HORIZON = dt.date(2028, 3, 1)  # beyond every window


def day(text):
    return dt.date.fromisoformat(text)


def weekday_bit(d):
    # Sunday 1, Monday 2 ... Saturday 64
    return 1 << ((d.weekday() + 1) % 7)


def months_from(first_month, interval):
    y, m = first_month
    while True:
        yield y, m
        m += interval
        y += (m - 1) // 12
        m = (m - 1) % 12 + 1


def nth_day(y, m, mask, instance):
    days = [dt.date(y, m, d) for d in range(1, calendar.monthrange(y, m)[1] + 1)]
    chosen = [d for d in days if weekday_bit(d) & mask]
    return chosen[-1] if instance >= 5 else chosen[instance - 1]


def pattern_days(s):
    """Every occurrence day of the pattern, deleted ones included, in order."""
    start, kind, interval = s["start"], s["type"], s["interval"]
    out = []
    if kind == 0:
        d = start
        while d < HORIZON:
            out.append(d)
            d += dt.timedelta(days=interval)
    elif kind == 1:
        week0 = start - dt.timedelta(days=(start.weekday() + 1) % 7)
        w = week0
        while w < HORIZON:
            for i in range(7):
                d = w + dt.timedelta(days=i)
                if d >= start and weekday_bit(d) & s["mask"]:
                    out.append(d)
            w += dt.timedelta(weeks=interval)
    else:
        y, m = start.year, start.month
        if kind in (5, 6):
            while m != s["month_of_year"]:
                m += 1
                if m > 12:
                    y, m = y + 1, 1
        for y, m in months_from((y, m), interval):
            if dt.date(y, m, 1) >= HORIZON:
                break
            if kind in (2, 5):
                d = dt.date(y, m, min(s["day_of_month"], calendar.monthrange(y, m)[1]))
            else:
                d = nth_day(y, m, s["mask"], s["instance"])
            if d >= start:
                out.append(d)
    if s["end_kind"] == 1:
        out = [d for d in out if d <= s["end"]]
    elif s["end_kind"] == 2:
        out = out[: s["end"]]
    return out


def in_gap(wall, zone):
    """Whether a wall-clock time does not exist in the zone (skipped when the clock goes on)."""
    there = wall.replace(tzinfo=zone)
    back = there.astimezone(dt.timezone.utc).astimezone(zone).replace(tzinfo=None)
    return back != wall


def main():
    series, zones, windows = [], [], []
    with open(sys.argv[1], encoding="utf-8") as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            if parts[0] == "S":
                (_, subject, kind, interval, mask, dom, moy, instance, start, minute, duration,
                 end_kind, end, deleted) = parts
                end_kind = int(end_kind)
                series.append({
                    "subject": subject, "type": int(kind), "interval": int(interval),
                    "mask": int(mask), "day_of_month": int(dom), "month_of_year": int(moy),
                    "instance": int(instance), "start": day(start), "minute": int(minute),
                    "duration": int(duration), "end_kind": end_kind,
                    "end": day(end) if end_kind == 1 else int(end),
                    "deleted": set() if deleted == "-" else {day(x) for x in deleted.split(",")},
                })
            elif parts[0] == "R":
                zones.append(parts[1])
            elif parts[0] == "W":
                windows.append((day(parts[1]), day(parts[2])))
    fmt = "%Y-%m-%d %H:%M"
    for name in zones:
        zone = zoneinfo.ZoneInfo(name)
        for s in series:
            for d in pattern_days(s):
                if d in s["deleted"]:
                    continue
                start = dt.datetime(d.year, d.month, d.day) + dt.timedelta(minutes=s["minute"])
                end = start + dt.timedelta(minutes=s["duration"])
                for t in (start, end):
                    if in_gap(t, zone):
                        sys.exit(f"{s['subject']}: {t} does not exist in {name}")
                for w, (first, last) in enumerate(windows):
                    lo = dt.datetime(first.year, first.month, first.day)
                    hi = dt.datetime(last.year, last.month, last.day, 23, 59, 59)
                    for field, t in (("start", start), ("end", end)):
                        if lo <= t <= hi and start <= hi:
                            print("\t".join(["E", name, str(w), field, s["subject"],
                                             start.strftime(fmt), end.strftime(fmt),
                                             str(s["duration"])]))


if __name__ == "__main__":
    main()
