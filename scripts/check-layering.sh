#!/usr/bin/env bash
# Rejects #include lines that cross the layering:
#  - platform/ never includes the system's folders;
#  - the four libraries never include the add-in's folders or one another;
#  - nobody includes another folder's detail/ headers;
#  - neither the platform nor the system's folders include Qt or the Qt view (gui/), nor link
#    Qt: the headless forms stay the one truth and gui/ only mirrors them.
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
for dir in platform $system; do
  [ -d "$dir" ] || continue
  hits=$(grep -rnE '^\s*#\s*include\s*[<"](Q[A-Za-z0-9]*|Qt[A-Za-z0-9]*/[^">]*|gui/[^">]*)[">]' "$dir" \
         --include='*.h' --include='*.cpp' 2>/dev/null || true)
  [ -n "$hits" ] && report "$dir includes Qt or the Qt view:\n$hits"
  hits=$(grep -rnE 'Qt6|tallyman_gui' "$dir" --include='CMakeLists.txt' 2>/dev/null || true)
  [ -n "$hits" ] && report "$dir links Qt or the Qt view:\n$hits"
done
if [ $fail -ne 0 ]; then echo -e "layering check failed"; exit 1; fi
exit 0
