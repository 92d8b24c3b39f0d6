#!/bin/sh
# No program reaches into another program's folder: every file of
# tools/<name>/ includes only its own folder's headers and those of the
# library (smf/), the frame (frame/) and the shared units (shared/), and no
# program's CMakeLists.txt names another program's folder or core library.
# usage: tests/layout/run.sh
set -u
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
failures=0
fail() {
    echo "FAIL $1"
    failures=$((failures + 1))
}
for dir in "$tools"/*/; do
    name=$(basename "$dir")
    for source in "$dir"*.cpp "$dir"*.h; do
        [ -f "$source" ] || continue
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$source" | while read -r header; do
            case "$header" in
                smf/* | frame/* | shared/*) ;;
                */*) echo "FAIL $name/$(basename "$source") includes $header" ;;
                *) [ -f "$dir$header" ] || echo "FAIL $name/$(basename "$source") includes $header, not in tools/$name" ;;
            esac
        done
    done
    if [ -f "$dir/CMakeLists.txt" ]; then
        grep -n 'tools/' "$dir/CMakeLists.txt" | sed "s|^|FAIL $name/CMakeLists.txt names a program folder: |"
        grep -oE '[A-Za-z0-9_]+_core' "$dir/CMakeLists.txt" | grep -vx -e tunefolio_tool_core -e "${name}_core" |
            sed "s|^|FAIL $name/CMakeLists.txt links another program's core library: |"
    fi
done > "${TMPDIR:-/tmp}/tool_layout.$$"
failures=$(grep -c '^FAIL' "${TMPDIR:-/tmp}/tool_layout.$$")
cat "${TMPDIR:-/tmp}/tool_layout.$$"
rm -f "${TMPDIR:-/tmp}/tool_layout.$$"
echo "$failures problems"
[ "$failures" = 0 ]
