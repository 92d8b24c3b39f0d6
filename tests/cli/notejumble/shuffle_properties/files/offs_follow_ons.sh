# usage: sh offs_follow_ons.sh FILE
# For a file whose every note-off comes right after its note-on: passes when
# each note-off carries the key of the note-on before it.
tab=$(printf '\t')
smftext "$1" | sed -nE "s/^v[0-9]+${tab}([89])[0-9a-f] ([0-9a-f]{2}) .*/\1 \2/p" |
    awk '$1 == 9 { key = $2; next } $2 != key { bad = 1 } END { exit bad }' || { echo "a note-off lost its key"; exit 1; }
