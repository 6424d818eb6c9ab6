#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the run need, and generates the
# locales the tests run under (de_DE.UTF-8 and en_US.UTF-8, besides the built-in C.UTF-8).
# Safe to run again: what is there already is left as it is.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev libcctz-dev libphonenumber-dev libsqlite3-dev sqlite3 libpugixml-dev libxml2-dev
  libxlsxwriter-dev libgsf-1-dev libfreexl-dev libzip-dev
  libcups2-dev cups cups-bsd cups-client printer-driver-cups-pdf libfontconfig-dev libfreetype-dev
  clang-format xdg-utils zlib1g-dev
  qt6-base-dev qt6-translations-l10n fonts-dejavu-core fonts-crosextra-carlito
  cups-filters poppler-utils libreoffice-calc-nogui weasyprint python3-xlrd locales
)
locales=(de_DE.UTF-8 en_US.UTF-8)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# "locale -a" names them in its own spelling (de_DE.utf8). grep reads to the end: under
# pipefail an early exit would fail the pipe.
generated() { locale -a 2>/dev/null | sed 's/\.utf8$/.UTF-8/' | grep -xF "$1" >/dev/null; }
ungenerated=()
for l in "${locales[@]}"; do
  generated "$l" || ungenerated+=("$l")
done
[ ${#ungenerated[@]} -eq 0 ] && exit 0
for l in "${ungenerated[@]}"; do
  # Debian's /etc/locale.gen lists every locale commented out; one it lacks is added.
  if grep -qE "^# *${l//./\\.} UTF-8\$" /etc/locale.gen 2>/dev/null; then
    $sudo sed -i -E "s/^# *(${l//./\\.} UTF-8)\$/\1/" /etc/locale.gen
  elif ! grep -qE "^${l//./\\.} UTF-8\$" /etc/locale.gen 2>/dev/null; then
    echo "$l UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  fi
done
$sudo locale-gen
for l in "${locales[@]}"; do
  generated "$l" || { echo "install-deps: the locale $l could not be generated" >&2; exit 1; }
done
