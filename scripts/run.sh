#!/usr/bin/env bash
# Installs what is missing, builds, and runs the report of the current template over the
# bundled sample profile. Extra arguments go to tallyman.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh >/dev/null
exec build/host/tallyman "$@"
