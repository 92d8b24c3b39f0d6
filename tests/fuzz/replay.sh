#!/bin/sh
# Replays the kept findings and the seeds of every fuzz target through its
# replay_<name> program (built by the normal test build).
# usage: tests/fuzz/replay.sh BIN_DIR
set -eu
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
status=0
for replay in "$bin"/replay_*; do
    target=${replay##*/replay_}
    set --
    for dir in "$here/regressions/$target" "$here/seeds/$target"; do
        [ -d "$dir" ] && for f in "$dir"/*; do [ -f "$f" ] && set -- "$@" "$f"; done
    done
    case $target in
        midi_reader) set -- "$@" "$here"/../corpus/*.mid "$here"/../fixtures/*.txt ;;
        hexscribe) set -- "$@" "$here"/../fixtures/*.txt ;;
    esac
    [ $# -gt 0 ] || continue
    printf '%s: ' "$target"
    "$replay" "$@" || status=1
done
exit $status
