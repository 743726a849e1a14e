#!/usr/bin/env bash
# Builds Lootwright (Release, into build/) and starts it.
# On a fresh Debian 12 machine it first installs the Debian packages it needs
# (as root, or through sudo otherwise).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$ROOT"

PACKAGES=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev
          fonts-noto-cjk xvfb xauth)

missing_packages() {
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
            echo "$package"
        fi
    done
}

install_packages() {
    local missing
    missing="$(missing_packages "$@")"
    [ -z "$missing" ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "run.sh: missing packages:" $missing >&2
            echo "run.sh: run as root or install sudo." >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    echo "run.sh: installing" $missing
    "${sudo[@]}" apt-get update
    # shellcheck disable=SC2086
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y $missing
}

install_packages "${PACKAGES[@]}"

cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
# CMake 3.25 does not rerun automoc for a header that gains Q_OBJECT or is added to
# an existing build tree; dropping the stamps makes automoc rescan (cheap when nothing changed).
find "$ROOT/build" -path '*_autogen/timestamp' -delete
cmake --build "$ROOT/build" -j"$(nproc)" --target lootwright

# The editor reads its game files from config/ beside the executable. The demo
# files are copied only once, so edits saved there survive later runs and rebuilds.
if [ ! -e "$ROOT/build/bin/config" ]; then
    cp -r "$ROOT/demo/config" "$ROOT/build/bin/config"
    echo "run.sh: copied the demo configuration to build/bin/config"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat >&2 <<'EOF'
run.sh: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).
Lootwright is a desktop program and needs a graphical session. Either
  - start it from a desktop session, or
  - run it on a virtual X server:  xvfb-run -a ./run.sh, or
  - run it without any screen:     QT_QPA_PLATFORM=offscreen ./run.sh
The build is ready: build/bin/lootwright
EOF
    exit 1
fi

exec "$ROOT/build/bin/lootwright" "$@"
