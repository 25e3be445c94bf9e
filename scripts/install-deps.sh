#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs (and, with --tests, what the
# tests use as outside readers). Only missing packages are fetched.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev libxlsxwriter-dev libcsv-dev fonts-liberation
          libgtest-dev libbenchmark-dev)
if [[ "${1:-}" == "--tests" ]]; then
    packages+=(clang libclang-rt-14-dev python3-xlrd python3-xlwt python3-openpyxl unzip libreoffice-calc-nogui
               libreoffice-draw-nogui gnumeric xvfb xauth
               dpkg-dev desktop-file-utils appstream lintian file man-db
               poppler-utils locales)
fi
sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The locale tests run the tools under German and French number conventions
# (locale-gen comes with the locales package above).
if [[ "${1:-}" == "--tests" ]]; then
    wanted=()
    for l in de_DE fr_FR; do
        locale -a 2>/dev/null | grep -qix "${l}.utf-\?8" || wanted+=("$l")
    done
    if ((${#wanted[@]})); then
        for l in "${wanted[@]}"; do
            "${sudo_cmd[@]}" sed -i -E "s/^# *(${l}\.UTF-8 UTF-8)/\1/" /etc/locale.gen
            grep -q "^${l}\.UTF-8 UTF-8" /etc/locale.gen ||
                echo "${l}.UTF-8 UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
        done
        "${sudo_cmd[@]}" locale-gen
    fi
fi
