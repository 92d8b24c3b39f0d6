#!/usr/bin/env bash
# Checks that notegraph writes well-formed XML that is valid against the SVG
# 1.1 DTD it names, apart from the two attributes the image needs and that
# DTD does not declare: viewPort on the root and vector-effect.
#
# usage: check_valid.sh BIN_DIR CORPUS_DIR FILES_DIR
# The DTD is read offline through the XML catalog (Debian's w3c-sgml-lib).
# Exit 77 (skipped) only when xmllint itself is not installed.
set -u
bin=$(cd "$1" && pwd)
corpus=$2
files=$3
if ! command -v xmllint >/dev/null; then
    echo "xmllint is not installed (Debian package libxml2-utils): skipped"
    exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failed=0
count=0
allowed='No declaration for attribute (viewPort|vector-effect) of element'

# check LABEL ARGS...: runs notegraph with ARGS and validates what it writes.
check() {
    local label=$1
    shift
    count=$((count + 1))
    local svg="$scratch/out.svg"
    if ! "$bin/notegraph" "$@" >"$svg" 2>"$scratch/err"; then
        echo "FAIL $label: notegraph failed: $(head -n 1 "$scratch/err")"
        failed=$((failed + 1))
        return
    fi
    if ! xmllint --noout --nonet "$svg" 2>"$scratch/wellformed"; then
        echo "FAIL $label: not well-formed"
        head -n 6 "$scratch/wellformed"
        failed=$((failed + 1))
        return
    fi
    xmllint --noout --nonet --valid "$svg" 2>"$scratch/valid"
    grep -E '(error|warning)' "$scratch/valid" | grep -Ev "$allowed" >"$scratch/problems"
    if [ -s "$scratch/problems" ]; then
        echo "FAIL $label: not valid against the SVG 1.1 DTD"
        head -n 6 "$scratch/problems"
        failed=$((failed + 1))
    fi
}

roll="$files/render.txt"
for shape in rectangle diamond hexthin hexthick plus triangleup triangledown triangleleft \
             triangleright triangleroundleft triangleroundright eyelid round1 round2 round3 round4 \
             oval antioval antiround antiround1 antiround2 antiround3 antiround4 curvedinner \
             curvedinner1 curvedinner2 curvedinner3 curvedinner4 curvedouter curvedouter1 \
             curvedouter2 curvedouter3 curvedouter4 star; do
    check "shape $shape" -S "$shape" "$roll"
done
check "rounded" --rounded "$roll"
check "staff and final barline" --staff --final-barline "$roll"
check "double barline" --staff --double-barline --diatonic "$roll"
check "clefs" --clefs --grand-staff "$roll"
check "dark" --dark --line "$roll"
check "black and white" --black-and-white --clefs --cline "$roll"
check "radius lines" --rline 0.5 --dash "$roll"
check "data and velocity" --data --velocity-brightness -T "$roll"
check "hostile text" --stroke-color 'a"<&>' --staff-color "$(printf 'x\001\377')" --clefs "$roll" \
    --clef-color '?>' --shapes 'x?>y'
for file in "$corpus"/*.mid; do
    check "$(basename "$file")" "$file"
    check "$(basename "$file") with everything" --clefs --line --data --velocity-brightness --final-barline \
        --drum --percussion-map 35:36 "$file"
done
echo "$((count - failed)) of $count documents valid"
[ $failed = 0 ]
