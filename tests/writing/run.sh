#!/bin/sh
# How programs write named files that already exist, checked as an
# unprivileged user (root ignores file modes): a file the user may not write
# stays untouched, a writable file in a folder the user may not write is
# rewritten in place, a replaced file keeps its mode, owner and group.
# usage: tests/writing/run.sh BIN_DIR   (run as root; skipped otherwise)
set -u
bin=$(cd "$1" && pwd)
if [ "$(id -u)" != 0 ] || ! command -v setpriv >/dev/null; then
    echo "skipped: needs root and setpriv"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The programs are copied where the unprivileged user may run them.
chmod 755 "$work"
mkdir "$work/bin"
cp "$bin/packsmf" "$bin/smftext" "$bin/hexscribe" "$work/bin/"
chmod 755 "$work/bin" "$work/bin"/*
export PATH="$work/bin:$PATH"
here=$(cd "$(dirname "$0")" && pwd)
cp "$here/../fixtures/duet.txt" "$work/duet.txt"
chmod 644 "$work/duet.txt"

as_nobody() {
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
}

failures=0
fail() {
    echo "FAIL $1"
    failures=$((failures + 1))
}

# expect NAME STATUS STDERR: compares the last command's results.
status=0
expect() {
    if [ "$status" != "$2" ]; then
        fail "$1: exit code $status, expected $2"
    fi
    if [ "$(cat "$work/err")" != "$3" ]; then
        fail "$1: stderr \"$(cat "$work/err")\", expected \"$3\""
    fi
}

# A folder the unprivileged user may write, holding the user's own files.
own="$work/own"
mkdir "$own" && chown nobody:nogroup "$own"

# A file the user may not write (mode 0444) is not replaced.
printf 'old\n' > "$own/readonly.mid"
chown nobody:nogroup "$own/readonly.mid"
chmod 444 "$own/readonly.mid"
as_nobody packsmf "$work/duet.txt" "$own/readonly.mid" 2> "$work/err"
status=$?
expect "read-only file" 1 "Error: could not write MIDI file $own/readonly.mid"
[ "$(cat "$own/readonly.mid")" = old ] || fail "read-only file: contents changed"
[ "$(stat -c %a "$own/readonly.mid")" = 444 ] || fail "read-only file: mode changed"

# Another user's file in a folder everybody may write is not replaced.
shared="$work/shared"
mkdir "$shared" && chmod 777 "$shared"
printf 'theirs\n' > "$shared/theirs.mid"
chmod 644 "$shared/theirs.mid"
as_nobody packsmf "$work/duet.txt" "$shared/theirs.mid" 2> "$work/err"
status=$?
expect "another user's file" 1 "Error: could not write MIDI file $shared/theirs.mid"
[ "$(cat "$shared/theirs.mid")" = theirs ] || fail "another user's file: contents changed"
[ "$(stat -c %U "$shared/theirs.mid")" = root ] || fail "another user's file: owner changed"
[ -z "$(ls "$shared" | grep -v '^theirs.mid$')" ] || fail "another user's file: scratch file left: $(ls "$shared")"

# hexscribe -c refuses it the same way.
as_nobody hexscribe -c "$shared/theirs.mid" "$work/duet.txt" 2> "$work/err"
status=$?
expect "another user's file, hexscribe -c" 1 "Error: could not write file $shared/theirs.mid"
[ "$(cat "$shared/theirs.mid")" = theirs ] || fail "another user's file, hexscribe -c: contents changed"

# A file the user may write, in a folder the user may not write (no scratch
# file possible beside it), is rewritten in place.
closed="$work/closed"
mkdir "$closed" && chmod 755 "$closed"
printf 'old\n' > "$closed/open.mid"
chown nobody:nogroup "$closed/open.mid"
chmod 640 "$closed/open.mid"
inode=$(stat -c %i "$closed/open.mid")
as_nobody packsmf "$work/duet.txt" "$closed/open.mid" 2> "$work/err"
status=$?
expect "writable file in a closed folder" 0 ""
[ "$(stat -c %i "$closed/open.mid")" = "$inode" ] || fail "writable file in a closed folder: not the same file"
[ "$(stat -c %a:%U "$closed/open.mid")" = 640:nobody ] || fail "writable file in a closed folder: mode or owner changed"
as_nobody smftext "$closed/open.mid" > "$work/out" 2>&1 || fail "writable file in a closed folder: not a MIDI file"
smftext "$work/duet.txt" | cmp -s - "$work/out" || fail "writable file in a closed folder: wrong contents"

# A new file in a closed folder cannot be written; nothing is left behind.
as_nobody packsmf "$work/duet.txt" "$closed/new.mid" 2> "$work/err"
status=$?
expect "new file in a closed folder" 1 "Error: could not write MIDI file $closed/new.mid"
[ ! -e "$closed/new.mid" ] || fail "new file in a closed folder: created"

# A replaced file keeps its mode, owner and group.
printf 'old\n' > "$own/kept.mid"
chown nobody:nogroup "$own/kept.mid"
chmod 604 "$own/kept.mid"
as_nobody packsmf "$work/duet.txt" "$own/kept.mid" 2> "$work/err"
status=$?
expect "replaced by its owner" 0 ""
[ "$(stat -c %a:%U:%G "$own/kept.mid")" = 604:nobody:nogroup ] || fail "replaced by its owner: $(stat -c %a:%U:%G "$own/kept.mid")"
# root may give the new file the old owner and group.
packsmf "$work/duet.txt" "$own/kept.mid" 2> "$work/err"
status=$?
expect "replaced by root" 0 ""
[ "$(stat -c %a:%U:%G "$own/kept.mid")" = 604:nobody:nogroup ] || fail "replaced by root: $(stat -c %a:%U:%G "$own/kept.mid")"
[ -z "$(ls "$own" | grep -v '^\(readonly\|kept\).mid$')" ] || fail "scratch files left: $(ls "$own")"

echo "$failures failures"
[ $failures = 0 ]
