# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the top-level scripts (./run, ./test, ./fuzz, ./package, ./benchmark): installs the Debian packages they need.
# Usage: ensure_packages PACKAGE...

ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}" >&2
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
            sudo=(sudo -n)
        elif command -v sudo >/dev/null 2>&1 && [ -t 0 ]; then
            sudo=(sudo)
        else
            echo "error: these packages are missing and I am not root and cannot use sudo:" >&2
            echo "  ${missing[*]}" >&2
            echo "Install them with: sudo apt-get install ${missing[*]}" >&2
            exit 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq || true
    if ! "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
        echo "error: apt-get could not install: ${missing[*]}" >&2
        exit 1
    fi
}

# What building and testing everything needs. Qt Charts' CMake files need Qt OpenGL's,
# which Debian 12 ships in libqt6opengl6-dev without qt6-charts-dev depending on it.
TABULON_BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev libfontconfig-dev
    qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev
    qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
    fonts-liberation fonts-dejavu-core locales poppler-utils
    desktop-file-utils appstream bash-completion man-db clang-format
)
# What the desktop program needs at run time beyond the build.
TABULON_GUI_PACKAGES=(xvfb xauth)
# What the fuzz targets need (./fuzz, and the sanitizer stage of ./test).
TABULON_FUZZ_PACKAGES=(clang libclang-rt-14-dev)
