#!/bin/sh
# The set-up step of make demo and make test (.ci/setup) on a machine that
# lacks cmake: it installs it when it may, and otherwise names the command.
# The machine is simulated by a PATH without cmake, and apt-get and sudo by
# stand-ins that record how they were called; nothing is installed.
# usage: tests/setup/run.sh
set -eu
here=$(cd "$(dirname "$0")" && pwd)
setup="$here/../../.ci/setup"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# A PATH holding every command of this one but cmake, apt-get and sudo.
mkdir "$work/bare"
old_ifs=$IFS
IFS=:
for dir in $PATH; do
    [ -d "$dir" ] || continue
    for command in "$dir"/*; do
        name=${command##*/}
        case $name in cmake | apt-get | sudo) continue ;; esac
        [ -x "$command" ] && [ ! -e "$work/bare/$name" ] && ln -s "$command" "$work/bare/$name"
    done
done
IFS=$old_ifs

# Stand-ins: apt-get records its arguments; sudo -n succeeds or fails as
# told, and runs its command.
mkdir "$work/apt" "$work/sudo-ok" "$work/sudo-asks"
cat > "$work/apt/apt-get" << 'EOF'
#!/bin/sh
echo "apt-get $*" >> "$LOG"
EOF
cat > "$work/sudo-ok/sudo" << 'EOF'
#!/bin/sh
echo "sudo $1" >> "$LOG"
[ "$1" = -n ] && shift
exec "$@"
EOF
cat > "$work/sudo-asks/sudo" << 'EOF'
#!/bin/sh
echo "sudo $*" >> "$LOG"
echo "sudo: a password is required" >&2
exit 1
EOF
chmod 755 "$work"/apt/apt-get "$work"/sudo-ok/sudo "$work"/sudo-asks/sudo

# run USER PATH-DIRS...: runs .ci/setup demo as USER (root: this user) with
# the given stand-in folders before the bare PATH.
run() {
    user=$1
    shift
    path="$work/bare"
    for extra in "$@"; do path="$work/$extra:$path"; done
    rm -f "$work/log" "$work/out"
    touch "$work/log" && chmod 666 "$work/log"
    if [ "$user" = nobody ]; then
        set -- setpriv --reuid=nobody --regid=nogroup --clear-groups
    else
        set --
    fi
    status=0
    "$@" env -i PATH="$path" LOG="$work/log" HOME=/ sh "$setup" demo > "$work/out" 2>&1 || status=$?
}

if [ "$(id -u)" != 0 ]; then
    echo "skipped: the cases need root (to run as nobody as well)"
    exit 77
fi

# As root: apt-get installs cmake without asking.
run root apt
[ $status = 0 ] || fail "as root: exit $status"
grep -q "^apt-get install -y -q cmake$" "$work/log" || fail "as root: cmake not installed: $(cat "$work/log")"

# As a user whose sudo needs no password: through sudo -n.
run nobody apt sudo-ok
[ $status = 0 ] || fail "with sudo: exit $status"
grep -q "^sudo -n$" "$work/log" && grep -q "^apt-get install -y -q cmake$" "$work/log" ||
    fail "with sudo: not installed through sudo: $(cat "$work/log")"

# As a user whose sudo asks for a password: nothing installed, the command
# named, exit 1.
run nobody apt sudo-asks
[ $status = 1 ] || fail "sudo with password: exit $status"
grep -q apt-get "$work/log" && fail "sudo with password: apt-get ran"
grep -q "^  sudo sh -c 'apt-get update -q && apt-get install -y -q cmake'$" "$work/out" ||
    fail "sudo with password: no command to run: $(cat "$work/out")"

# As a user without sudo: su names root.
run nobody apt
[ $status = 1 ] || fail "no sudo: exit $status"
grep -q "^  su -c 'apt-get update -q && apt-get install -y -q cmake'$" "$work/out" ||
    fail "no sudo: no command to run: $(cat "$work/out")"

# A machine without apt-get: the packages are named.
run nobody
[ $status = 1 ] || fail "no apt-get: exit $status"
grep -q "Missing (Debian package names): cmake\." "$work/out" || fail "no apt-get: $(cat "$work/out")"

# Nothing lacking: nothing done, nothing said.
ln -s "$(command -v cmake)" "$work/apt/cmake"
run nobody apt sudo-ok
[ $status = 0 ] && [ ! -s "$work/out" ] && [ ! -s "$work/log" ] ||
    fail "nothing lacking: exit $status, said: $(cat "$work/out") $(cat "$work/log")"

[ $failed = 0 ] && echo "set-up cases passed"
exit $failed
