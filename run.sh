#!/usr/bin/env bash
# Builds Lootwright (Release, into build/) and starts it.
# On a fresh Debian 12 machine it first installs the Debian packages it needs
# (as root, or through sudo otherwise).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$ROOT"

PACKAGES=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-charts-dev libgl-dev
          qt6-tools-dev qt6-l10n-tools
          fonts-noto-cjk xvfb xauth)

SCRIPT_NAME=run.sh
# shellcheck source=scripts/common.sh
. "$ROOT/scripts/common.sh"

install_packages "${PACKAGES[@]}"

build_release --target lootwright

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
