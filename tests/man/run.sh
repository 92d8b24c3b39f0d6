#!/bin/sh
# Every program has a manual page, and every page formats without a warning.
# usage: tests/man/run.sh BIN_DIR
set -u
bin=$(cd "$1" && pwd)
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
failures=0
for dir in "$tools"/*/; do
    name=$(basename "$dir")
    if [ ! -f "$dir/$name.1" ]; then
        echo "FAIL $name has no manual page ($name.1)"
        failures=$((failures + 1))
    fi
done
for page in "$tools"/*/*.[1-9]; do
    [ -f "$page" ] || continue
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 > /dev/null)
    if [ -n "$warnings" ]; then
        echo "FAIL ${page#"$tools"/}:"
        echo "$warnings" | head -10
        failures=$((failures + 1))
    fi
done
[ -x "$bin/smftext" ] || { echo "FAIL programs not built in $bin"; failures=$((failures + 1)); }
echo "$failures problems"
[ $failures = 0 ]
