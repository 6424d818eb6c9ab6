#!/usr/bin/env bash
# Rejects #include lines that cross the layering:
#  - platform/ never includes the system's folders;
#  - the four libraries never include the add-in's folders or one another;
#  - nobody includes another folder's detail/ headers.
set -uo pipefail
cd "$(dirname "$0")/.."
system="common engine fieldcatalogue views grid shell folderpicker dialogs actions printer"
libraries="engine fieldcatalogue folderpicker printer"
addin="views grid shell dialogs actions"
fail=0

includes() { grep -rnE '^\s*#\s*include\s+"' "$1" --include='*.h' --include='*.cpp' 2>/dev/null; }
report() { printf "layering: %b\n" "$1"; fail=1; }

if [ -d platform ]; then
  for s in $system; do
    hits=$(includes platform | grep -E "#\s*include\s+\"$s/" || true)
    [ -n "$hits" ] && report "platform includes system code:\n$hits"
  done
fi
for lib in $libraries; do
  [ -d "$lib" ] || continue
  for other in $libraries $addin; do
    [ "$other" = "$lib" ] && continue
    hits=$(includes "$lib" | grep -E "#\s*include\s+\"$other/" || true)
    [ -n "$hits" ] && report "$lib includes $other:\n$hits"
  done
done
for dir in platform/* $system host; do
  [ -d "$dir" ] || continue
  hits=$(includes "$dir" | grep -E '#\s*include\s+"[^"]*/detail/' | grep -vE "#\s*include\s+\"$dir/detail/" || true)
  [ -n "$hits" ] && report "$dir includes another folder's detail/:\n$hits"
done
if [ $fail -ne 0 ]; then echo -e "layering check failed"; exit 1; fi
exit 0
