#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quiet and quick when all are there.
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libgl-dev
          fonts-ipafont-gothic fonts-ipafont-mincho fontconfig
          locales) # locales: the sources the number-locale tests generate their locales from
# Qt's JPEG image plugin (in libqt6gui6) writes the pictures; xmllint checks the HTML reports in the tests.
packages+=(libqt6gui6 libxml2-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "Missing packages: ${missing[*]}" >&2
        echo "Install them as root, then run this again:" >&2
        echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
# Not quiet: the Qt packages take a while to download, and the progress shows that something happens.
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
