#!/bin/sh
# The demo job: make an example MIDI file, list it as hexscribe text,
# round-trip it through packsmf and draw it as a piano roll.
# usage: demo/run.sh BIN_DIR WORK_DIR
set -eu
bin=$(cd "$1" && pwd)
mkdir -p "$2"
cd "$2"
PATH="$bin:$PATH"

echo "== duetmaker: an example file, twinkle.mid (melody and bass line)"
duetmaker
echo "wrote twinkle.mid ($(wc -c < twinkle.mid) bytes)"

echo
echo "== smftext twinkle.mid: the file as hexscribe text (first 24 lines)"
smftext twinkle.mid > twinkle.txt
head -n 24 twinkle.txt

echo
echo "== round trip: smftext twinkle.mid | packsmf copy.mid"
smftext twinkle.mid | packsmf copy.mid
cmp twinkle.mid copy.mid && echo "copy.mid is identical to twinkle.mid"

echo
echo "== a scale written by hand as hexscribe text, compiled with packsmf"
cat > scale.txt <<'TEXT'
+M +T +h +d     ; header chunk
4'6             ; its length
2'0             ; format 0
2'1             ; one track
2'96            ; ticks per quarter note
+M +T +r +k     ; track chunk
4'35            ; its length
v0  ff 51 03 07 a1 20   ; tempo 120 bpm
v0  90 '60 '90  ; C4 on
v96 80 '60 '0   ; C4 off
v0  90 '64 '90  ; E4 on
v96 80 '64 '0
v0  90 '67 '90  ; G4 on
v96 80 '67 '0
v0  ff 2f 00    ; end of track
TEXT
packsmf scale.txt scale.mid
notetable scale.mid

echo
echo "== notegraph: twinkle.mid as an SVG piano roll with staff and clefs"
notegraph --clefs --line --scale 4 twinkle.mid > twinkle.svg
echo "wrote $(pwd)/twinkle.svg ($(wc -c < twinkle.svg) bytes): open it in a browser"
