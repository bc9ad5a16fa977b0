#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quiet and quick when all are there.
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libgl-dev
          fonts-ipafont-gothic fonts-ipafont-mincho fontconfig)
# Qt's JPEG image plugin (in libqt6gui6) writes the pictures; xmllint checks the HTML reports in the tests.
packages+=(libqt6gui6 libxml2-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
