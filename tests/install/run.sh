#!/bin/sh
# Installs the build into a scratch prefix and builds a small consumer program
# against it twice: with pkg-config and with CMake's find_package.
# usage: tests/install/run.sh BUILD_DIR [EXTRA_CXX_FLAGS]
set -eu
build=$(cd "$1" && pwd)
flags=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > /dev/null

[ -x "$prefix/bin/smftext" ] || { echo "programs were not installed"; exit 1; }
[ -f "$prefix/include/smf/tunefolio.h" ] || { echo "headers were not installed"; exit 1; }

expected="$work/expected"
printf '+M +T +h +d\n4'"'"'6\n2'"'"'0\n2'"'"'1\n2'"'"'120\n\n+M +T +r +k\n4'"'"'12\n\nv0\t90 3c 64\nv120\t80 3c 00\nv0\tff 2f 00\n' > "$expected"

echo "== pkg-config"
PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs tunefolio
# shellcheck disable=SC2046
c++ $flags $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags tunefolio) "$here/consumer.cpp" \
    $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --libs tunefolio) -o "$work/by-pkg-config"
"$work/by-pkg-config" > "$work/out1"
cmp "$expected" "$work/out1"

echo "== CMake find_package"
mkdir -p "$work/cmake-consumer"
cp "$here/consumer.cpp" "$work/cmake-consumer/"
cp "$here/CMakeLists.txt.in" "$work/cmake-consumer/CMakeLists.txt"
cmake -S "$work/cmake-consumer" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" > /dev/null
cmake --build "$work/cmake-build" > /dev/null
"$work/cmake-build/consumer" > "$work/out2"
cmp "$expected" "$work/out2"
echo "both consumers built and ran"
