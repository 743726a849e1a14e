#!/usr/bin/env bash
# Runs the fuzz targets built in build-fuzz/bin, each for SECONDS (60 by default), from seed
# corpora made out of the test fixtures. Usage: fuzz/run.sh [SECONDS [TARGET...]]
# Exits non-zero at the first target that finds a crash, leak, hang or property failure; the
# input that did it is left in build-fuzz/artifacts/. The corpora grow in build-fuzz/corpus/.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="$ROOT/build-fuzz/bin"
WORK="$ROOT/build-fuzz"
DATA="$ROOT/tests/data"
SECONDS_EACH="${1:-60}"
[ "$#" -gt 0 ] && shift
TARGETS=("$@")
if [ "${#TARGETS[@]}" -eq 0 ]; then
    TARGETS=(fuzz_monster_drop_file fuzz_box_content_file fuzz_name_tables fuzz_clipboard_text
             fuzz_export_page)
fi

# Copies the given files into the target's corpus (names made unique by their path).
seed() {
    local corpus="$WORK/corpus/$1" file
    shift
    mkdir -p "$corpus"
    for file in "$@"; do
        cp "$file" "$corpus/seed_$(echo "${file#"$DATA"/}" | tr '/' '_')"
    done
}

seeds_for() {
    case "$1" in
    fuzz_monster_drop_file)
        seed "$1" "$DATA"/parsers/monster_*/*.txt "$DATA"/window/other/monsters_*.txt \
            $(find "$DATA" -name MonsterDropBoxs.txt) ;;
    fuzz_box_content_file)
        seed "$1" "$DATA"/parsers/box_*/*.txt "$DATA"/window/other/boxes_*.txt \
            $(find "$DATA" -name DropBoxContent.txt) ;;
    fuzz_name_tables)
        seed "$1" $(find "$DATA" -name CommonItem.txt -o -name EquipBase.txt -o -name GemInfo.txt \
            -o -name MonsterAttrExTable.txt) ;;
    fuzz_clipboard_text)
        mkdir -p "$WORK/corpus/$1"
        printf 'MonsterDrop:1001\nMValue:100\nDropType:0\nDropBoxes:5,6,-1\n' \
            >"$WORK/corpus/$1/seed_copied"
        printf 'MonsterDrop:7\nMValue:x\nDropType:1\nDropBoxes:\n' >"$WORK/corpus/$1/seed_loose" ;;
    fuzz_export_page)
        # A configuration directory as one input: monsters, boxes, monster names, item names.
        local dir
        mkdir -p "$WORK/corpus/$1"
        for dir in $(find "$DATA" -name MonsterDropBoxs.txt -exec dirname {} \;); do
            [ -f "$dir/DropBoxContent.txt" ] && [ -f "$dir/MonsterAttrExTable.txt" ] || continue
            {
                cat "$dir/MonsterDropBoxs.txt"
                printf '=====\n'
                cat "$dir/DropBoxContent.txt"
                printf '=====\n'
                cat "$dir/MonsterAttrExTable.txt"
                printf '=====\n'
                cat "$dir/CommonItem.txt" 2>/dev/null || true
            } >"$WORK/corpus/$1/seed_$(echo "${dir#"$DATA"/}" | tr '/' '_')"
        done ;;
    *)
        echo "fuzz/run.sh: unknown target $1" >&2
        exit 2 ;;
    esac
}

export ASAN_OPTIONS="${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/tests/sanitizers/lsan.supp:print_suppressions=0}"
mkdir -p "$WORK/artifacts"
for target in "${TARGETS[@]}"; do
    seeds_for "$target"
    echo "== $target for ${SECONDS_EACH} s"
    # -timeout: one input taking 10 s is a hang; -rss_limit_mb: runaway memory is a fault.
    set +e
    "$BIN/$target" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$WORK/artifacts/$target-" \
        "$WORK/corpus/$target" 2>&1 | grep -v -E '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse|INITED)'
    status="${PIPESTATUS[0]}"
    set -e
    if [ "$status" -ne 0 ]; then
        echo "fuzz/run.sh: $target found a fault (status $status); see $WORK/artifacts" >&2
        exit 1
    fi
done
