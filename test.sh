#!/usr/bin/env bash
# Builds Lootwright (Release, into build/) and runs the whole test suite.
# On a fresh Debian 12 machine it first installs the Debian packages it needs
# (as root, or through sudo otherwise) and the browser test's npm packages.
# Exits non-zero when anything fails.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$ROOT"

PACKAGES=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-charts-dev libgl-dev
          qt6-tools-dev qt6-l10n-tools
          fonts-noto-cjk xvfb xauth chromium dpkg-dev file)
# Debian's Node.js only when the machine has none of its own.
if ! command -v node >/dev/null 2>&1; then
    PACKAGES+=(nodejs npm)
fi

SCRIPT_NAME=test.sh
# shellcheck source=scripts/common.sh
. "$ROOT/scripts/common.sh"

install_packages "${PACKAGES[@]}"

# The browser test drives Debian's Chromium; its npm packages never download a browser.
# node_modules is set up again only when the lock file changed since the last npm ci (a copy of
# the lock file it was made from is kept beside it).
BROWSER="$ROOT/tests/browser"
if [ -f "$BROWSER/package.json" ]; then
    export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
    if [ -f "$BROWSER/package-lock.json" ]; then
        if ! cmp -s "$BROWSER/package-lock.json" "$BROWSER/node_modules/.lootwright-lock"; then
            (cd "$BROWSER" && npm ci --no-audit --no-fund)
            cp "$BROWSER/package-lock.json" "$BROWSER/node_modules/.lootwright-lock"
        fi
    else
        (cd "$BROWSER" && npm install --no-audit --no-fund)
    fi
fi

LOOTWRIGHT_BUILD_TESTS=ON build_release

# Widget tests need no screen. Tests never touch the user's own settings (favourites).
export QT_QPA_PLATFORM=offscreen
XDG_CONFIG_HOME="$(mktemp -d)"
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_CONFIG_HOME XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"' EXIT

ctest --test-dir "$ROOT/build" --output-on-failure
