#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the run need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev libcctz-dev libphonenumber-dev libsqlite3-dev sqlite3 libpugixml-dev libxml2-dev
  libxlsxwriter-dev libgsf-1-dev libfreexl-dev libzip-dev
  libcups2-dev cups cups-bsd cups-client printer-driver-cups-pdf
  clang-format xdg-utils zlib1g-dev
  qt6-base-dev qt6-translations-l10n fonts-dejavu-core fonts-crosextra-carlito
  cups-filters poppler-utils libreoffice-calc-nogui weasyprint python3-xlrd
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
