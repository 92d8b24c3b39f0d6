# usage: sh same_but_keys.sh A B
# Passes when the MIDI files A and B list the same events apart from the
# key numbers of note messages, and hold the same keys in some other order.
tab=$(printf '\t')
masked() { smftext "$1" | sed -E "s/^(v[0-9]+${tab}[89][0-9a-f]) [0-9a-f]{2}/\1 kk/"; }
keys() { smftext "$1" | sed -nE "s/^v[0-9]+${tab}[89][0-9a-f] ([0-9a-f]{2}) .*/\1/p" | sort; }
masked "$1" > a.masked && masked "$2" > b.masked && cmp -s a.masked b.masked || { echo "events differ: $1"; exit 1; }
keys "$1" > a.keys && keys "$2" > b.keys && cmp -s a.keys b.keys || { echo "keys differ: $1"; exit 1; }
