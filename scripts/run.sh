#!/usr/bin/env bash
# Installs what is missing, builds the host and the add-in's libraries (not the tests and
# benchmarks: scripts/test.sh builds those), and runs the report of the current template over
# the bundled sample profile. Extra arguments go to tallyman.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh tallyman >/dev/null
exec build/host/tallyman "$@"
