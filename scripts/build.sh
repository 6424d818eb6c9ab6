#!/usr/bin/env bash
# Configures and builds into build/ (or build-sanitize/ with --sanitize): every target, or only
# the targets named after the options (scripts/run.sh names the host, which brings the add-in's
# libraries with it). Prints the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build
extra=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  extra=(-DTV_SANITIZE=ON -DTV_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
  shift
fi
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >&2
cmake --build "$dir" -j "$(nproc)" "${targets[@]}" >&2
echo "$dir"
