#!/usr/bin/env bash
# Installs what the project needs from Debian's packages (once), then
# configures and builds it in build/. Used by run.sh and test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    libsqlcipher-dev libssl-dev liborcus-dev libzip-dev libxml2-dev libxlsxwriter-dev
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools qt6-webchannel-dev
    libqt6webenginecore6-bin qt6-translations-l10n
    libgtest-dev libbenchmark-dev libcli11-dev dpkg-dev clang libclang-rt-14-dev
    xvfb xauth fonts-noto-cjk fonts-arphic-ukai fonts-arphic-uming libgl1-mesa-dri libjs-katex
    librsvg2-bin desktop-file-utils appstream shared-mime-info
    fcitx5 fcitx5-pinyin fcitx5-frontend-qt6 ibus ibus-libpinyin dbus-x11
)

missing=()
for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DQUILLORY_WERROR=ON "$@"
cmake --build build
