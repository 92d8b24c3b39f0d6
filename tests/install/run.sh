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

if grep -q '^TUNEFOLIO_LIBRARY_ONLY:BOOL=ON' "$build/CMakeCache.txt"; then
    [ ! -e "$prefix/bin" ] || { echo "a library-only build installed programs"; exit 1; }
else
    [ -x "$prefix/bin/smftext" ] || { echo "programs were not installed"; exit 1; }
fi
[ -f "$prefix/include/smf/tunefolio.h" ] || { echo "headers were not installed"; exit 1; }

echo "== public headers"
# Only the interface is installed, and each installed header compiles on its
# own from the installed tree: a public header that comes to include one of
# the library's inner headers fails here.
for inner in midi_layout.h chars.h text_buffer.h text_line.h; do
    [ ! -e "$prefix/include/smf/$inner" ] || { echo "inner header installed: smf/$inner"; exit 1; }
done
for header in "$prefix"/include/smf/*.h; do
    echo "#include <smf/${header##*/}>" > "$work/header.cpp"
    c++ -std=c++20 -fsyntax-only -I"$prefix/include" "$work/header.cpp" ||
        { echo "smf/${header##*/} does not compile on its own from the installed headers"; exit 1; }
done
ls "$prefix/include/smf"

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
