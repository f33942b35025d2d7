#!/bin/sh
# Cuts the small faces under tests/fixtures/fonts/seeds/ from the six faces the program uses on
# Linux: three glyphs each, once without hinting programs and the smaller tables, once with them
# (and an accented letter, so that a composite glyph is in). They seed the font fuzzer and are
# replayed by the test suite. Not part of the build; needs fonttools (Debian package
# python3-fonttools). The name tables are dropped: a cut of a face must not carry its name.
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
faces=/usr/share/fonts/truetype/liberation2
out=$repo/tests/fixtures/fonts/seeds
mkdir -p "$out"
for face in Sans-Regular Sans-Bold Mono-Regular Mono-Bold Serif-Regular Serif-Bold; do
  name=$(echo "$face" | tr 'A-Z' 'a-z')
  /usr/bin/python3 -m fontTools.subset "$faces/Liberation$face.ttf" --text='Ag9' --no-hinting \
    --drop-tables+=DSIG,GSUB,GPOS,GDEF,kern,name,post,FFTM --output-file="$out/$name-plain.ttf"
  /usr/bin/python3 -m fontTools.subset "$faces/Liberation$face.ttf" --text='Ag9é' \
    --drop-tables+=DSIG,name,FFTM --output-file="$out/$name-hinted.ttf"
done
cp /usr/share/doc/fonts-liberation2/copyright "$out/LICENSE-source-fonts.txt"
