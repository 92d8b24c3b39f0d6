#!/bin/sh
# The demo job: make an example MIDI file, list it as hexscribe text and
# round-trip it through packsmf.
# usage: demo/run.sh BIN_DIR WORK_DIR
set -eu
bin=$(cd "$1" && pwd)
mkdir -p "$2"
cd "$2"
PATH="$bin:$PATH"

echo "== an example file, written by hand as hexscribe text"
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
echo "wrote scale.mid ($(wc -c < scale.mid) bytes)"

echo "== scale.mid listed as hexscribe text (smftext)"
smftext scale.mid

echo "== round trip: smftext scale.mid | packsmf copy.mid"
smftext scale.mid | packsmf copy.mid
cmp scale.mid copy.mid && echo "copy.mid is identical to scale.mid"
