# Shared by run.sh and test.sh: installing missing Debian packages and building build/.
# Expects ROOT to be set; SCRIPT_NAME prefixes its messages.

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
            echo "$SCRIPT_NAME: missing packages:" $missing >&2
            echo "$SCRIPT_NAME: run as root or install sudo." >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    echo "$SCRIPT_NAME: installing" $missing
    "${sudo[@]}" apt-get update
    # shellcheck disable=SC2086
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y $missing
}

# Release build in build/; extra arguments go to `cmake --build`. The tests are configured only
# when LOOTWRIGHT_BUILD_TESTS=ON (test.sh): run.sh leaves them out, and their configure warnings.
build_release() {
    cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DLOOTWRIGHT_BUILD_TESTS="${LOOTWRIGHT_BUILD_TESTS:-OFF}"
    # CMake 3.25 does not rerun automoc for a header that gains Q_OBJECT or is added to
    # an existing build tree; dropping the stamps makes automoc rescan (cheap when nothing changed).
    find "$ROOT/build" -path '*_autogen/timestamp' -delete
    cmake --build "$ROOT/build" -j"$(nproc)" "$@"
}
