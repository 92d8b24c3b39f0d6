# The sample listings and examples in the manual are what hexscribe really
# prints and compiles.
set -u
hexscribe --manual > manual.txt
indent() { sed 's/^./    &/'; }
# Prints whether the lines of the file "want" stand together, in order, in
# the manual.
contains() {
    if awk 'NR == FNR { want[n++] = $0; next }
            { line[m++] = $0 }
            END {
                for (i = 0; i + n <= m; i++) {
                    for (j = 0; j < n && line[i + j] == want[j]; j++) ;
                    if (j == n) exit 0
                }
                exit 1
            }' want manual.txt
    then echo "found: $1"; else echo "missing: $1"; fi
}

hexscribe -c program elf.txt
{ echo '    $ hexscribe program'; hexscribe program | head -n 30 | indent; } > want
contains "default listing"
{ echo '    $ hexscribe -a program'; hexscribe -a program | indent; } > want
contains "-a listing"
{ echo '    $ hexscribe -b program'; hexscribe -b program | head -n 10 | indent; } > want
contains "-b listing"

hexscribe -c sound.snd sound.txt 2> errors.txt
indent < errors.txt > want
contains "compile error"

hexscribe -c numbers numbers.txt
{
    echo '    $ cat numbers.txt'
    indent < numbers.txt
    echo '    $ hexscribe -c numbers numbers.txt'
    echo '    $ hexscribe -b numbers'
    hexscribe -b numbers | indent
} > want
contains "decimal numbers"

indent < snd_full.txt > want
contains "example 1 commented"
indent < snd_short.txt > want
contains "example 1 succinct"
hexscribe -c snd1 snd_full.txt && hexscribe -c snd2 snd_short.txt && cmp snd1 snd2 &&
    hexscribe -b snd1 | indent > want
contains "example 1 bytes"

hexscribe -c wav wav.txt && hexscribe wav | indent > want
contains "example 2 listing"
indent < wav.txt > want
contains "example 2 fields"
