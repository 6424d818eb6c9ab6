#!/usr/bin/env bash
# Configures and builds into build/ (or build-sanitize/ with --sanitize).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build
extra=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  extra=(-DTV_SANITIZE=ON -DTV_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >&2
cmake --build "$dir" -j "$(nproc)" >&2
echo "$dir"
