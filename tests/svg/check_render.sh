#!/usr/bin/env bash
# Renders notegraph's SVG in headless Chromium and checks pixels of the
# screenshots: notes where their onset, duration and key put them, in their
# track's colour; staff lines, clefs and brace where they belong; a black
# background with --dark; outlines only in black and white.
#
# usage: check_render.sh BIN_DIR PNG_PROBE FILES_DIR
# Exit 77 (skipped) only when Chromium is not installed.
#
# Geometry at --scale 10 with the default aspect 2.5 and border 1: a second
# is 25 pixels, a key 10 pixels. The fixture's keys span 60..72, so the
# middle of key k's row is at y = 735 - 10 k and onset t at x = 10 + 25 t.
# With --grand-staff (40..80) rows move down by 80 pixels; --clefs moves
# everything 150 pixels to the right.
set -u
bin=$(cd "$1" && pwd)
probe=$2
files=$(cd "$3" && pwd)
browser=$(command -v chromium || true)
if [ -z "$browser" ]; then
    echo "chromium is not installed (Debian package chromium): skipped"
    exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
roll="$files/render.txt"

failed=0
count=0
PINK="255 128 128"      # hsl(0, 100%, 75%): track 0
CYAN="128 255 255"      # hsl(180, 100%, 75%): track 1
WHITE="255 255 255"
BLACK="0 0 0"
STAFF="85 85 85"        # #555555
CLEF="205 205 205"      # #cdcdcd
# Pink at half opacity over the half-transparent black (or white) backdrop.
FILTERED="191 128 128"

# render NAME ARGS...: notegraph ARGS > NAME.svg, screenshot into NAME.png.
render() {
    local name=$1
    shift
    if ! "$bin/notegraph" "$@" >"$scratch/$name.svg"; then
        echo "FAIL $name: notegraph failed"
        failed=$((failed + 1))
        return 1
    fi
    local profile
    profile=$(mktemp -d)
    timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$profile" --screenshot="$scratch/$name.png" --window-size=600,500 \
        "file://$scratch/$name.svg" >"$scratch/browser.log" 2>&1
    rm -rf "$profile"
    if [ ! -s "$scratch/$name.png" ]; then
        echo "FAIL $name: no screenshot"
        tail -n 5 "$scratch/browser.log"
        failed=$((failed + 1))
        return 1
    fi
}

# expect NAME X Y "R G B" TOLERANCE WHAT: the pixel's colour is within
# TOLERANCE of R G B in every channel.
expect() {
    local name=$1 x=$2 y=$3 want=$4 tolerance=$5 what=$6
    count=$((count + 1))
    local got
    got=$("$probe" "$scratch/$name.png" "$x" "$y")
    if ! awk -v got="$got" -v want="$want" -v tol="$tolerance" 'BEGIN {
            n = split(got, g, " "); split(want, w, " ");
            if (n != 3) exit 1;
            for (i = 1; i <= 3; i++) { d = g[i] - w[i]; if (d < -tol || d > tol) exit 1 }
            exit 0 }'; then
        echo "FAIL $name: $what at ($x, $y) is $got, expected $want"
        failed=$((failed + 1))
    fi
}

# expect_dark NAME X Y WHAT: the pixel is clearly darker than white (an
# outline or a thin line falls on it).
expect_dark() {
    local name=$1 x=$2 y=$3 what=$4
    count=$((count + 1))
    local got
    got=$("$probe" "$scratch/$name.png" "$x" "$y")
    if ! awk -v got="$got" 'BEGIN { split(got, g, " "); exit !(g[1] + g[2] + g[3] < 600) }'; then
        echo "FAIL $name: $what at ($x, $y) is $got, expected an outline"
        failed=$((failed + 1))
    fi
}

if render notes -T -s 10 "$roll"; then
    expect notes 35 135 "$PINK" 8 "key 60 from 0 to 2 s (track 0)"
    expect notes 130 95 "$PINK" 8 "key 64 from 3 to 5 s (track 0)"
    expect notes 72 15 "$CYAN" 8 "key 72 from 1 to 4 s (track 1)"
    expect notes 35 55 "$WHITE" 4 "empty row 68"
    expect notes 72 135 "$WHITE" 4 "key 60 after its end"
    expect notes 62 135 "$WHITE" 4 "just after key 60 ends"
    expect notes 81 95 "$WHITE" 4 "just before key 64 starts"
    expect_dark notes 10 135 "left outline of key 60"
fi

if render transparent -s 10 "$roll"; then
    expect transparent 35 135 "$FILTERED" 20 "key 60 at half opacity over its backdrop"
    expect transparent 35 55 "$WHITE" 4 "empty row 68"
fi

if render dark --dark -s 10 "$roll"; then
    expect dark 2 2 "$BLACK" 4 "background in the border"
    expect dark 35 55 "$BLACK" 4 "background in an empty row"
    expect dark 35 135 "$FILTERED" 20 "key 60 over its white backdrop"
fi

if render lines -T -s 10 --line --line-width 4 "$roll"; then
    expect lines 72 135 "$PINK" 8 "line through the rest after key 60"
    expect lines 85 115 "$PINK" 8 "line rising to key 64"
    expect lines 72 55 "$WHITE" 4 "no line elsewhere"
fi

if render curves -T -s 10 --cline --line-width 4 "$roll"; then
    expect curves 62 135 "$PINK" 8 "curve leaving key 60"
    expect curves 85 135 "$WHITE" 4 "corner cut by the curve"
fi

if render staff -T -s 10 --grand-staff --staff --staff-width 2 "$roll"; then
    for line in 77.5 74.5 71.5 67.5 64.5 57.5 53.5 50.5 47.5 43.5; do
        y=$(awk -v l="$line" 'BEGIN { printf "%d", 10 * (81 - l) + 10 - 1 }')
        expect staff 40 "$y" "$STAFF" 30 "staff line $line"
    done
    expect staff 40 60 "$WHITE" 4 "between the top lines"
    expect staff 5 44 "$WHITE" 4 "left of the staff"
    expect staff 35 215 "$PINK" 8 "key 60 on the grand staff"
fi

if render clefs -T -s 10 --grand-staff --clefs "$roll"; then
    expect clefs 81 213 "$CLEF" 30 "the drop of the treble clef, below the treble staff"
    expect clefs 64 283 "$CLEF" 30 "the drop of the bass clef, on its F line"
    expect clefs 25 160 "$CLEF" 30 "the upper arm of the brace"
    expect clefs 25 270 "$CLEF" 30 "the lower arm of the brace"
    expect clefs 5 160 "$WHITE" 4 "left of the brace"
    expect clefs 140 120 "$WHITE" 4 "between the clefs and the notes"
    expect clefs 185 215 "$PINK" 8 "key 60, moved right by the clef room"
fi

if render bw --black-and-white -s 10 "$roll"; then
    expect bw 35 135 "$WHITE" 4 "inside key 60 (white)"
    expect bw 35 55 "$WHITE" 4 "background"
    expect_dark bw 10 135 "left outline of key 60"
    expect_dark bw 35 130 "upper outline of key 60"
fi

if render diamond -T -s 10 -S d "$roll"; then
    expect diamond 35 135 "$PINK" 8 "middle of a diamond"
    expect diamond 13 131 "$WHITE" 4 "corner outside a diamond"
fi
if render triangle -T -s 10 -S tu "$roll"; then
    expect triangle 20 138 "$PINK" 8 "near the base of an upward triangle"
    expect triangle 20 132 "$WHITE" 4 "beside the apex of an upward triangle"
fi
if render oval -T -s 10 -S o "$roll"; then
    expect oval 35 135 "$PINK" 8 "middle of an oval"
    expect oval 11 131 "$WHITE" 4 "rounded corner of an oval"
fi

echo "$((count - failed)) of $count pixels as expected"
[ $failed = 0 ] && [ $count -gt 0 ]
