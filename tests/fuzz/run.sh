#!/bin/sh
# Runs every fuzzer for a while, seeded from the corpus, the fixtures and the
# kept findings (tests/fuzz/regressions/<target>/).
# usage: tests/fuzz/run.sh BIN_DIR SECONDS_EACH [WORK_DIR]
set -eu
bin=$(cd "$1" && pwd)
seconds=$2
work=${3:-$(mktemp -d)}
here=$(cd "$(dirname "$0")" && pwd)
status=0
for fuzzer in "$bin"/fuzz_*; do
    name=$(basename "$fuzzer")
    target=${name#fuzz_}
    corpus="$work/$target"
    mkdir -p "$corpus"
    case $target in
        midi_reader) cp "$here"/../corpus/*.mid "$here"/../fixtures/*.txt "$corpus"/ ;;
        hexscribe) cp "$here"/../fixtures/*.txt "$corpus"/ ;;
    esac
    [ -d "$here/regressions/$target" ] && cp "$here/regressions/$target"/* "$corpus"/ 2>/dev/null || true
    [ -d "$here/seeds/$target" ] && cp "$here/seeds/$target"/* "$corpus"/ 2>/dev/null || true
    echo "== $name for $seconds s"
    if ! "$fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$work/$name-" "$corpus" > "$work/$name.log" 2>&1; then
        echo "FINDING in $name:"
        tail -40 "$work/$name.log"
        status=1
    else
        grep -E '^Done' "$work/$name.log" || true
    fi
done
exit $status
