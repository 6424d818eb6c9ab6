#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. With --sanitize the same suite runs
# under AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/.
#
# The suite runs under the C.UTF-8 locale; then the window and host tests (CTest label
# desktop) run once more under German regional settings (LANG=de_DE.UTF-8): a process that
# takes its locale from the environment, as the windows' Qt application does, then runs with
# decimal commas in the C library's numbers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-layering.sh
[ -x scripts/start-cups.sh ] && scripts/start-cups.sh || true
dir=$(scripts/build.sh "$@" | tail -n 1)
# intercept_tls_get_addr=0: GCC 12's sanitizer runtime takes a dynamic TLS block whose address
# ends in 0x010 (mod 4096) for one with glibc 2.19's header and reads a range from the words
# before it; where the malloc'd block lands there by chance, the leak checker's tracer faults at
# exit ("Tracer caught signal 11") depending on nothing but the binary's layout. Leaks are still
# checked; only blocks of dlopen'd modules' thread-locals are not scanned as roots.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:intercept_tls_get_addr=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# LANG alone decides: no category of the caller's environment overrides it.
for v in $(env | sed -n 's/^\(LC_[A-Z_]*\)=.*/\1/p'); do
  unset "$v"
done
status=0
LANG=C.UTF-8 ctest --test-dir "$dir" --output-on-failure --no-tests=error -j "$(nproc)" ||
  status=$?
LANG=de_DE.UTF-8 ctest --test-dir "$dir" --output-on-failure --no-tests=error -j "$(nproc)" \
  -L desktop || status=$?
exit "$status"
