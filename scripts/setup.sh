#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need.
# Quiet and quick when everything is present already.
set -euo pipefail

packages=(
    g++ make cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
    qt6-qpa-plugins qt6-translations-l10n
    libsqlite3-dev zlib1g-dev libjpeg-dev
    libcdio-dev libcdio-paranoia-dev libemf-dev
    fonts-liberation2 fontconfig
    clang libclang-rt-14-dev lld
    poppler-utils
    desktop-file-utils appstream man-db dpkg-dev file
    qt6-multimedia-dev
    sqlite3 python3
    libdiscid-dev
    qt6-charts-dev
    pxlib-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        SUDO=sudo
    else
        echo "setup: the packages ${missing[*]} are missing and this user cannot install them (no root, no sudo)." >&2
        exit 2
    fi
else
    SUDO=
fi

export DEBIAN_FRONTEND=noninteractive
if ! $SUDO apt-get update -qq; then
    echo "setup: apt-get update failed; check the network and the package sources." >&2
    exit 3
fi
if ! $SUDO apt-get install -y -qq "${missing[@]}"; then
    echo "setup: could not install ${missing[*]}." >&2
    exit 4
fi
