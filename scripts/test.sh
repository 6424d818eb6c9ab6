#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. With --sanitize the same suite runs
# under AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-layering.sh
[ -x scripts/start-cups.sh ] && scripts/start-cups.sh || true
dir=$(scripts/build.sh "$@" | tail -n 1)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$dir" --output-on-failure --no-tests=error -j "$(nproc)"
