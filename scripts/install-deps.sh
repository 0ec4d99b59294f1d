#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
#   --demo   also what running the demo without a display needs (a virtual X server)
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config locales
    qt6-base-dev libhidapi-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # A known font, so the widget tests measure text the same way everywhere.
    fonts-dejavu-core
)
if [ "${1:-}" = "--demo" ]; then
    packages+=(xvfb xauth)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The number tests also run under a German locale, where "," is the decimal
# separator, to prove that no conversion follows the user's locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    $sudo sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    $sudo locale-gen >/dev/null
fi
