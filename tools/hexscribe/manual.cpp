// The manual text. Its sample listings are output of this program; the
// command-line tests check that they still match what it prints.
#include "manual.h"

std::string_view hexscribeManual() {
    return R"MANUAL(hexscribe: binary/ascii file viewing/creation

hexscribe shows the bytes of any file as text, and makes files from text.
A listing gives every byte as a two-digit hexadecimal number with the
printable characters set out beneath; compiling (-c) reads such a listing,
or bytes described by hand in the hexscribe notation, and writes the bytes
it describes. The MIDI programs of this suite write and read the same
notation, so everything below holds for the text of a MIDI file as well.

    hexscribe [-a | -b | -c output] [-m] [--mod=N] [--wrap=N] input(s)

Every argument that is not an option names an input file; standard input
is not read. The listings of several inputs follow one another on standard
output without a separator. An input that cannot be read is reported on
standard error ("Error: could not read file" and its name); the other
inputs are still handled, and the exit code is 1 at the end.


1. Displaying ASCII codes for bytes in a file.

Without options a file is listed as line pairs. The first line of a pair
holds 25 bytes, each written as a blank and two lower-case hexadecimal
digits, and ends with a blank. The second line starts with a semi-colon,
which makes it a comment, and shows the character of each printable byte
(from ! to ~) under the first digit of its code: three columns per byte.
Blanks, control codes and bytes above 7e leave their columns empty. An
empty line closes the pair. These are the first ten pairs of the listing
of a program file in the ELF format, which begins with the byte 7f and
the characters E, L and F:

    $ hexscribe program
     7f 45 4c 46 02 01 01 00 00 00 00 00 00 00 00 00 03 00 3e 00 01 00 00 00 d0 
    ;   E  L  F                                            >

     23 00 00 00 00 00 00 40 00 00 00 00 00 00 00 90 83 00 00 00 00 00 00 00 00 
    ;#                    @

     00 00 40 00 38 00 0d 00 40 00 1f 00 1e 00 06 00 00 00 04 00 00 00 40 00 00 
    ;      @     8           @                                         @

     00 00 00 00 00 40 00 00 00 00 00 00 00 40 00 00 00 00 00 00 00 d8 02 00 00 
    ;               @                       @

     00 00 00 00 d8 02 00 00 00 00 00 00 08 00 00 00 00 00 00 00 03 00 00 00 04 
    ;

     00 00 00 18 03 00 00 00 00 00 00 18 03 00 00 00 00 00 00 18 03 00 00 00 00 
    ;

     00 00 1c 00 00 00 00 00 00 00 1c 00 00 00 00 00 00 00 01 00 00 00 00 00 00 
    ;

     00 01 00 00 00 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 
    ;

     00 00 00 00 00 00 00 00 90 12 00 00 00 00 00 00 90 12 00 00 00 00 00 00 00 
    ;

     10 00 00 00 00 00 00 01 00 00 00 05 00 00 00 00 20 00 00 00 00 00 00 00 20 
    ;

The option --mod=N puts N bytes on a line instead of 25.

The -a option shows only the printable characters, for finding the words
inside a file. Each run of blanks and unprintable bytes shows as a single
blank, and the lines are wrapped at 75 characters (--wrap=N sets another
length). Here is the whole -a listing of the first 1024 bytes of the same
program file; the path of the program loader stands out among the odd
characters that numbers happen to make:

    $ hexscribe -a program
    ELF > # @ @ 8 @ @ @ @ Y= Y= ` ` ` ` ` p} p p p } 8 8 8 X X X D D S td 8 8 8
    P td k k k Q td R td p} p p /lib64/ld-linux-x86-64.so.2 GNU GNU V N M Q GNU
    . I . 0 ( e m Pv ,cr bA 9

The -b option shows only the codes, 25 to a line (or --mod=N), with no
comment lines and no empty lines. The bytes are not grouped into two-byte
words as the system's octal-dump tool groups them, and no offsets stand
in front of the lines: each byte is listed on its own, in file order, so
that the listing compiles straight back into the file. The listing of the
program file starts like this:

    $ hexscribe -b program
     7f 45 4c 46 02 01 01 00 00 00 00 00 00 00 00 00 03 00 3e 00 01 00 00 00 d0 
     23 00 00 00 00 00 00 40 00 00 00 00 00 00 00 90 83 00 00 00 00 00 00 00 00 
     00 00 40 00 38 00 0d 00 40 00 1f 00 1e 00 06 00 00 00 04 00 00 00 40 00 00 
     00 00 00 00 00 40 00 00 00 00 00 00 00 40 00 00 00 00 00 00 00 d8 02 00 00 
     00 00 00 00 d8 02 00 00 00 00 00 00 08 00 00 00 00 00 00 00 03 00 00 00 04 
     00 00 00 18 03 00 00 00 00 00 00 18 03 00 00 00 00 00 00 18 03 00 00 00 00 
     00 00 1c 00 00 00 00 00 00 00 1c 00 00 00 00 00 00 00 01 00 00 00 00 00 00 
     00 01 00 00 00 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 
     00 00 00 00 00 00 00 00 90 12 00 00 00 00 00 00 90 12 00 00 00 00 00 00 00 
     10 00 00 00 00 00 00 01 00 00 00 05 00 00 00 00 20 00 00 00 00 00 00 00 20 

Only one of -a, -b and -c may be given at a time.

With -m each input is read as a Standard MIDI File and printed as
hexscribe text with a comment on every header field and every event;
between two files stands a line of 41 equals signs. Compiling that text
with -c gives a MIDI file with the same events again.


2. Creating files by byte description

With -c output, hexscribe reads each input as hexscribe text and writes
the bytes it describes to the file named output:

    $ hexscribe -c sound.snd sound.txt

The text is a series of words separated by blanks, tabs and line breaks.
Each word describes one or more bytes, which are written in the order of
the words; the kinds of words follow below. Compiling stops at the first
word that fits none of them: hexscribe names the input, the line and the
word on standard error, writes no output file for that input and ends
with exit code 1. For example:

    Error: sound.txt: line 3: hexadecimal numbers have at most two digits: "7ff"

Given several inputs, hexscribe compiles each of them in turn to the same
output name, so that the output holds the bytes of the last input that
compiled. An output file that cannot be written is reported with
"Error: could not write file" and its name.


hexscribe comments

A semi-colon (;) marks the beginning of a comment which extends to the end of a line. A space (or tab) character must precede the semi-colon when the comment follows a number on a line.
A comment can say what the bytes before it mean; a whole line that starts
with a semi-colon is ignored, which is why the character lines of a
listing do no harm when it is compiled.

    ; the start of the file
    7f 45 4c 46      ; a comment after numbers, with a blank before it
    7f;oops          wrong: the semi-colon touches the number


hexscribe hexadimal numbers

In hexscribe, hexadecimal numbers specify one byte and must contain no more than 2 digits and range from 00 to ff.
A single digit is a byte as well: "1" is the byte 01 and "e" the byte 0e.
The digits a to f may be written in either case, so "7F" is the same as
"7f". A word of three hexadecimal digits or more, such as "100", is an
error; values that need more than one byte are written as decimal numbers
(see below).


hexscribe binary numbers

Binary numbers can be specified by numbers longer than three characters, or numbers containing a comma.
A binary number holds only the digits 0 and 1, at most eight of them,
and gives one byte. A comma may split it into two halves of at most four
digits each: the first half gives the high four bits of the byte and the
second half the low four bits, so "1,1" is the byte 0001 0001. The comma
may not start or end the number, and no blank may stand beside it. A word
of one or two digits is a hexadecimal number, and a word of three digits
such as "101" is neither hexadecimal nor binary: write "0101" or "1,01".

    valid       value
    0000      = 0
    0101      = 5
    1,1       = 17
    0001,0001 = 17
    1111,0    = 240
    11111111  = 255

    not valid
    10          interpreted as a hexadecimal number
    101         neither a hexadecimal nor a binary number
    ,1          a comma may not start the number
    1,          a comma may not end the number
    1 ,1        no blank may stand beside the comma
    111000111   more than eight digits
    11111,1     more than four digits before the comma


hexscribe decimal numbers

Decimal numbers are integers of one to four bytes or floating-point
numbers of four or eight bytes, and may be negative.
A decimal number starts with a quote character. The standard marker is
the apostrophe ('), as in '100 or 4'44100, and it is what the MIDI
programs of this suite write. The star (*) is accepted in its place:
'100 and *100 are the same byte.

Before the marker may stand the number of bytes to write, the letter u,
or both in either order: 4u'453 and u4'453 are the same. With u the bytes
are written least significant first (little-endian, as in WAVE files);
without it the most significant byte comes first (big-endian, as in MIDI
and NeXT/Sun sound files).

Without a byte count an integer fills one byte and must lie between -128
and 255, and a number with a period is a 4-byte floating-point number.
The byte counts of integers are 1 to 4, those of floating-point numbers
4 and 8; a count of 8 always makes a floating-point number. With an
explicit count of 1 any integer is accepted and truncated to its lowest
byte. With a count of 2 or 4 the number must fit the signed or unsigned
range of its width (2'-32768 to 2'65535, for example), and 3-byte integers
are positive only (0 to 16777215). Negative numbers are written in two's
complement. No blank may stand before or after the marker.

    valid                       not valid
    '100    = 100               ' 100        blank after the marker
    '-1     = 255               2 '1000      blank before the marker
    1'256   =   0 (truncated)   '256         exceeds one byte in size
    2'1000  = 1000              2'70000      exceeds two bytes in size
    4u'453  = 453               3'-1         3-byte numbers are positive
    u4'453  = 453               5'1          more than four bytes
    4'44100 = 44100             2'1.5        floating point in two bytes
    '2.5    = 2.5               'x           not a number

An 8-byte floating-point number such as 8'3.1415 stores 3.1415 in eight
bytes. These words, compiled and listed with -b, give the bytes below:

    $ cat numbers.txt
    '100 '-1 1'256 2'1000 2u'1000 u2'1000 4'44100 '2.5 8'3.1415
    $ hexscribe -c numbers numbers.txt
    $ hexscribe -b numbers
     64 ff 00 03 e8 e8 03 e8 03 00 00 ac 44 40 20 00 00 40 09 21 ca c0 83 12 6f 


hexscribe ascii bytes

A plus sign followed by one character gives the byte of that character.
Each character is a word of its own, so the three bytes of "cat" are
written

    +c +a +t

A blank separates words and cannot follow the plus sign: write it as 20.
"++" gives a plus sign and "+;" a semi-colon.


hexscribe variable-length values

A v followed by a decimal number writes the number as a MIDI
variable-length value: seven bits to a byte, the most significant group
first, the top bit set on every byte but the last. v0 is 00, v127 is 7f,
v128 is 81 00 and v480 is 83 60; the largest value is v268435455, which
is ff ff ff 7f. The MIDI programs of this suite write the time before
each event this way.


example 1

A NeXT/Sun sound file (.snd) holding five samples of silence, sixteen
bits each. Every byte is written in hexadecimal and explained:

    2e 73 6e 64      ; magic number (characters .snd)
    00 00 00 32      ; offset of the first sample: 50 bytes
    00 00 00 0a      ; bytes of sample data: 10
    00 00 00 03      ; encoding 3: 16-bit linear samples
    00 00 ac 44      ; sampling rate: 44100 samples per second
    00 00 00 01      ; channels: 1
    66 69 76 65 20   ; annotation: "five samples of silence",
    73 61 6d 70 6c   ;    ended by zero bytes up to the first sample
    65 73 20 6f 66
    20 73 69 6c 65
    6e 63 65 00 00
    00
    00 00            ; sample 1
    00 00            ; sample 2
    00 00            ; sample 3
    00 00            ; sample 4
    00 00            ; sample 5

The same file described succinctly, with characters and decimal numbers:

    +. +s +n +d      ; magic number (characters .snd)
    4'50             ; offset of the first sample
    4'10             ; bytes of sample data
    4'3              ; encoding: 16-bit linear
    4'44100          ; sampling rate
    4'1              ; channels
    +f +i +v +e 20 +s +a +m +p +l +e +s 20 +o +f 20 +s +i +l +e +n +c +e 0 0 0
    2u'0 2u'0 2u'0 2u'0 2u'0

Each sample is written as 2u'0, two zero bytes. The samples of a .snd file
are big-endian, but for zero the order of the bytes makes no difference.
Both texts compile to the same 60 bytes, listed here with -b:

     2e 73 6e 64 00 00 00 32 00 00 00 0a 00 00 00 03 00 00 ac 44 00 00 00 01 66 
     69 76 65 20 73 61 6d 70 6c 65 73 20 6f 66 20 73 69 6c 65 6e 63 65 00 00 00 
     00 00 00 00 00 00 00 00 00 00 


example 2

The same five samples as a WAVE file. This is its listing:

     52 49 46 46 2e 00 00 00 57 41 56 45 66 6d 74 20 10 00 00 00 01 00 01 00 44 
    ;R  I  F  F  .           W  A  V  E  f  m  t                             D

     ac 00 00 88 58 01 00 02 00 10 00 64 61 74 61 0a 00 00 00 00 00 00 00 00 00 
    ;            X                    d  a  t  a

     00 00 00 00 
    ;

and this is how it can be written by hand, field by field:

    +R +I +F +F           ; RIFF chunk descriptor
    4u'46                 ; bytes to follow in the file
    +W +A +V +E           ; file type
    +f +m +t 20           ; "fmt " sub-chunk: the sample format
    4u'16                 ; bytes to follow in the sub-chunk
    2u'1                  ; format 1: linear samples
    2u'1                  ; channels
    4u'44100              ; sampling rate
    4u'88200              ; bytes per second
    2u'2                  ; bytes per sample frame
    2u'16                 ; bits per sample
    +d +a +t +a           ; "data" sub-chunk: the samples
    4u'10                 ; bytes to follow in the sub-chunk
    2u'0 2u'0 2u'0 2u'0 2u'0


Compiling the default listing or the -b listing of a file gives back the
file, byte for byte:

    $ hexscribe file1 > file2
    $ hexscribe -c file3 file2
    $ hexscribe -b file1 > file4
    $ hexscribe -c file5 file4

file1 and file3 should be the same, and so should file1 and file5. The
-a listing leaves bytes out and does not compile: its words are mostly
neither numbers nor characters marked with a plus sign.)MANUAL";
}
