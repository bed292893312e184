#!/usr/bin/env bash
# Installs the Debian packages Tarvela needs to build, test and run (as root).
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n qt6-charts-dev
    libqt6opengl6-dev libsqlcipher-dev libpq-dev postgresql libxlsxwriter-dev libzip-dev zlib1g-dev
    libglpk-dev coinor-libclp-dev libgtest-dev libbenchmark-dev
    xdg-utils fonts-dejavu-core fonts-liberation clang-format poppler-utils ccache lld
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi
